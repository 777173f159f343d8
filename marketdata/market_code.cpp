#include "marketdata/market_code.h"

namespace zepa {

int marketCodeOf(char letter) {
    switch (letter) {
        case 'T':
        case 't':
            return 1;
        case 'O':
        case 'o':
            return 2;
        case 'N':
        case 'n':
            return 3;
        case 'K':
        case 'k':
            return 8;
        case 'G':
        case 'g':
            return 9;
        default:
            return 0;
    }
}

char marketLetterOf(int32_t marketCode) {
    switch (marketCode) {
        case 0:
            return 'I';  // any letter but those below: the position file's index market
        case 1:
            return 'T';
        case 2:
            return 'O';
        case 3:
            return 'N';
        case 8:
            return 'K';
        case 9:
            return 'G';
        default:
            return 0;
    }
}

std::string_view marketNameOf(int marketCode) {
    switch (marketCode) {
        case 0:
            return "指数";
        case 1:
            return "東証";
        case 2:
            return "大証";
        case 3:
            return "名証";
        case 8:
            return "店頭";
        case 9:
            return "外国";
        default:
            return "    ";
    }
}

}  // namespace zepa
