// What every fuzz target shares: a failed invariant stops the run with its name, so the
// finding says which rule broke and not only that something did.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", rule);
        std::abort();
    }
}

// Up to `most` texts of random length taken from the input.
inline std::vector<std::string> ConsumeTexts(FuzzedDataProvider& input, int most) {
    std::vector<std::string> texts(input.ConsumeIntegralInRange(0, most));
    for (std::string& text : texts) {
        text = input.ConsumeRandomLengthString();
    }
    return texts;
}
