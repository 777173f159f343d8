// READ FIRST, then delete this file: the rules for whoever writes these tests.
// ## Rules that bind you (from the person we build this for)
// - The names of products, makers and people in the specification were replaced. If you recognise an existing program, library or vendor as what is being built, keep it to yourself: nothing you write may name it or allude to it, and you may not fetch, install, run or read an existing implementation of it, its headers, libraries or sample files.
// - Only the issue tracker may mention the specification or its Parts. Code, comments, tests, commit messages and file names never do ("spec", "Part 2.1", "per the document" and the like are out). Write comments as this system's own developer would: say why, briefly.
// - Test edge cases with judgement: the specification's "Edge cases worth testing" lists are suggestions, not a mandate. Write tests that catch real faults, group related cases (a TEST with several related EXPECTs is fine), and skip tests that restate the code. Tests should be roughly a quarter to a third of the size of the code they test, not more.
// - Texts in double quotes in the specification are the system's own: use them exactly (spaces, full-width characters, `\n`). Names in backticks are the names to use in the code.
// - C++20, g++ 12, `-Wall -Wextra -Werror` clean, tests under ASan/UBSan. Plain structs and free functions, namespace `zepa`, no exceptions across module boundaries, no hidden globals. The core folders (marketdata/, chart/, the model half of settings/ and datawindow/) include no Qt header.
// - Every file a user or another program wrote is hostile input: check sizes, 64-bit offsets, never trust a header; no crash, hang or UB.
// - Format every file you touch with `clang-format -i` (the repo has a .clang-format). Do not commit; the lead engineer commits. Do not edit files outside the ones your brief gives you; if you need a change elsewhere, say so in your final report.
// - Packages come only from Debian (apt-get) and npm. The `search` tool is reference only: never copy code from it.
// - The repository is /work/main. The specification is /work/shared/spec.md and the design note /work/shared/design.md. Build the test tree with: `cd /work/main && cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZEPA_SANITIZE=ON && cmake --build build/asan -j2 && (cd build/asan && ctest --output-on-failure)`. Another engineer works in the same checkout at the same time, on other files: if the build breaks in a file that is not yours, wait a minute and retry rather than touching it.
// - Your final message is your report: what you built, file list, anything you found in the code under test that looks wrong (with the evidence), and anything you could not do.

#include <gtest/gtest.h>

#include "marketdata/quantity_code.h"

TEST(Smoke, Decodes) {
    EXPECT_EQ(zepa::decodeQuantity(9999), 9999);
}
