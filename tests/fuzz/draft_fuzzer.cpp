// Drafts: a text encoded and read back, with or without the quotes a read strips, is the same
// text, and the value stays on one line with quotes only at its ends.
#include "fuzz_check.h"
#include "store/DraftText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::string text = input.ConsumeRandomLengthString();
    std::erase(text, '\0'); // an edit box holds none
    const std::string value = EncodeDraftValue(text);
    Require(value.find_first_of("\r\n") == std::string::npos, "the value is one line");
    Require(value.size() >= 2 && value.find('"', 1) == value.size() - 1, "quotes only at the ends");
    Require(DecodeDraftValue(value) == text, "quoted value reads back");
    Require(DecodeDraftValue(value.substr(1, value.size() - 2)) == text, "bare value reads back");

    const std::string stored = input.ConsumeRemainingBytesAsString();
    Require(DecodeDraftValue(stored).size() <= stored.size(), "decoding never grows a value");
    return 0;
}
