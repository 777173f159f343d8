// libFuzzer's entry point for one target, chosen when the fuzzer is built.
#include "fuzz/targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ZEPA_FUZZ_TARGET(data, size);
}
