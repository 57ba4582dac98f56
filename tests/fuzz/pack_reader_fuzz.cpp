// Reads arbitrary bytes as a title's program stream through the pack reader, the video header
// scanner and the index builder, and writes and reads back the index they make; the same bytes
// are also read as an index file. Damage must end in warnings or MediaError, never in a crash,
// a hang or a read past a buffer.
// clang-format off
// fuzz-sources: tools/media/PackReader.cpp tools/media/ByteSource.cpp tools/media/VobSequence.cpp tools/media/VideoScanner.cpp tools/media/VideoHeaders.cpp tools/media/IndexBuilder.cpp tools/media/VideoIndex.cpp tools/media/StreamKind.cpp tools/media/IndexFile.cpp src/platform/files_text.cpp src/platform/files_internal.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/IndexBuilder.h"
#include "media/IndexFile.h"
#include "media/PackReader.h"
#include "media/StreamKind.h"
#include "media/VideoScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto ignore = [](const std::string&) {};
    media::MemorySource source(std::vector<uint8_t>(data, data + size));
    media::PackReader reader(source, ignore);
    media::VobSequence none;
    media::IndexBuilder builder(none, ignore, 0xE0);
    media::VideoScanner scanner;
    std::vector<media::VideoHeader> headers;
    int64_t last = -1;
    for (media::PesPacket packet; reader.Next(packet);) {
        if (packet.dataOffset < 0 ||
            packet.dataOffset + static_cast<int64_t>(packet.size) > source.Size() ||
            packet.offset <= last)
            std::abort();
        last = packet.offset;
        media::StreamNumberOf(packet);
        if (media::KindOf(packet) != media::StreamKind::Video) continue;
        scanner.Feed(packet, headers);
        for (const media::VideoHeader& header : headers) builder.Add(header);
        headers.clear();
    }
    media::IndexFile file;
    file.files = {"fuzz.vob"};
    file.video = builder.Take();
    if (media::DisplayOrder(file.video).size() != static_cast<size_t>(file.video.PictureCount()))
        std::abort();
    if (file.video.PictureCount() > 0) {
        const media::IndexFile back = media::ParseIndexText(media::IndexText(file), "fuzz.d2v");
        if (back.video.PictureCount() != file.video.PictureCount()) std::abort();
    }
    try {
        media::ParseIndexText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.d2v");
    } catch (const media::MediaError&) {
    }
    return 0;
}
