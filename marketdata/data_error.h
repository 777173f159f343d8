// The fatal errors of reading the price databases, and their messages.
#pragma once

#include <string>

namespace zepa {

enum class DataError {
    None = 0,
    NoDatabase = 1,        // nothing matches DBW.*
    TooManyDatabases = 2,  // more than 100 files match
    OpenFailed = 4,        // a file (or a directory of that name) cannot be opened
    OutOfMemory = 5,
    SeekFailed = 6,
};

// The whole text of the fatal message box, ending with the line that says the program stops.
// dataDirectory is the native path of the data folder, shown by code 2.
std::string dataErrorMessage(DataError code, const std::string& dataDirectory);

// Caption of every market-data message box.
inline constexpr const char* kErrorCaption = "エラーメッセージ";

}  // namespace zepa
