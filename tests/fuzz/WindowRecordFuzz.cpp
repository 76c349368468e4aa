// The window record reader on any bytes, as the file beside a journal. Each
// input is read twice: as it is, and made whole around its key check and its
// window's place (header and trailer rewritten with their magic, length and
// checksums), so that the fuzzer gets past the checksums to the fields.
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "WindowRecordFormat.h"
#include "WindowRecordReader.h"

namespace {

namespace format = windowrecord;
using State = repair::WindowRecordContent::State;

void readAndCheck(const std::string& path, size_t size)
{
    const repair::WindowRecordContent record = repair::readWindowRecord(path);
    FUZZ_CHECK(record.state == State::Present || record.state == State::Foreign);
    FUZZ_CHECK(record.state == State::Present || !record.hasWindow);
    if (!record.hasWindow) return;
    // A window that a run could have written: at a chunk's start in a file
    // that positions can reach, and no longer than a window.
    FUZZ_CHECK(size == format::kWindowOffset + record.bytes.size() + format::kTrailerSize);
    FUZZ_CHECK(record.bytes.size() <= format::kWindowBytes);
    FUZZ_CHECK(record.firstChunk >= 0 && record.windowStart >= 0);
    FUZZ_CHECK(record.windowStart % 65536 == 0 && record.windowStart / 65536 == record.firstChunk);
    FUZZ_CHECK(record.windowStart <= INT64_MAX - static_cast<int64_t>(record.bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeInput("TXE1.undo", data, size);
    readAndCheck(path, size);

    if (size < format::kHeaderSize) return 0;
    std::vector<unsigned char> fitted(data, data + size);
    unsigned char header[format::kHeaderSize];
    format::writeHeader(format::detail::load64(fitted.data() + 8), header);
    std::memcpy(fitted.data(), header, sizeof header);
    if (size >= format::kWindowOffset + format::kTrailerSize) {
        unsigned char* window = fitted.data() + format::kWindowOffset;
        const size_t length = size - format::kWindowOffset - format::kTrailerSize;
        unsigned char* trailer = window + length;
        format::Fields fields;
        fields.firstChunk = format::detail::load64(trailer + 8);
        fields.windowStart = format::detail::load64(trailer + 16);
        fields.length = length;
        unsigned char fittedTrailer[format::kTrailerSize];
        format::writeTrailer(window, fields, fittedTrailer);
        std::memcpy(trailer, fittedTrailer, sizeof fittedTrailer);
    }
    fuzz::writeFile(path, fitted.data(), fitted.size());
    readAndCheck(path, size);
    return 0;
}
