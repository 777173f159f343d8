#include "marketdata/data_error.h"

#include <filesystem>

namespace zepa {

std::string dataErrorMessage(DataError code, const std::string& dataDirectory) {
    std::string text;
    switch (code) {
        case DataError::None:
            return text;
        case DataError::NoDatabase:
            text = "データのディレクトリにＤＢがありません";
            break;
        case DataError::TooManyDatabases:
            text = "ＤＢは１００までです\n\n" + dataDirectory +
                   static_cast<char>(std::filesystem::path::preferred_separator) +
                   " からＤＢを移動して下さい";
            break;
        case DataError::OpenFailed:
            text = "DB がオープンできません";
            break;
        case DataError::OutOfMemory:
            text = "メモリの領域が確保できません";
            break;
        case DataError::SeekFailed:
            text = "シークエラーです";
            break;
    }
    return text + "\n\nプログラムの実行を中止します";
}

}  // namespace zepa
