#include "TitlePackets.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

extern "C" {
#include <libavformat/avformat.h>
}

namespace subtitletest {
namespace {

constexpr int64_t kSector = 2048;

std::vector<std::string> VobsBeside(const std::string& ifoPath) {
    std::vector<std::string> vobs;
    const std::string stem = ifoPath.substr(0, ifoPath.size() - 5);  // without "0.IFO"
    for (int n = 1; n <= 9 && std::filesystem::exists(stem + std::to_string(n) + ".VOB"); ++n)
        vobs.push_back(stem + std::to_string(n) + ".VOB");
    if (vobs.empty()) throw std::runtime_error("no VOB beside " + ifoPath);
    return vobs;
}

// The presentation time at which the VOBU of the navigation pack in `sector` starts.
int64_t VobuStart(const std::vector<std::string>& vobs, uint32_t sector) {
    int64_t at = int64_t(sector) * kSector;
    for (const std::string& vob : vobs) {
        const int64_t size = int64_t(std::filesystem::file_size(vob));
        if (at >= size) {
            at -= size;
            continue;
        }
        std::ifstream in(vob, std::ios::binary);
        in.seekg(at);
        unsigned char pack[kSector] = {};
        in.read(reinterpret_cast<char*>(pack), kSector);
        if (pack[41] != 0xBF || pack[44] != 0x00)
            throw std::runtime_error("no navigation pack at sector " + std::to_string(sector));
        return int64_t(pack[57]) << 24 | pack[58] << 16 | pack[59] << 8 | pack[60];
    }
    throw std::runtime_error("sector " + std::to_string(sector) + " lies past the VOBs");
}

}  // namespace

LibavTitlePackets::LibavTitlePackets(const std::string& ifoPath) : vobs_(VobsBeside(ifoPath)) {
    std::string url = "concat:";
    for (const std::string& vob : vobs_) url += (url.size() > 7 ? "|" : "") + vob;
    AVFormatContext* format = avformat_alloc_context();
    // Raw PES payloads, as the VOB holds them: no parser joining them into whole subpictures.
    format->flags |= AVFMT_FLAG_NOPARSE | AVFMT_FLAG_NOFILLIN;
    if (avformat_open_input(&format, url.c_str(), nullptr, nullptr) < 0)
        throw std::runtime_error("libavformat cannot open " + url);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        const AVStream* stream = format->streams[packet->stream_index];
        if (stream->codecpar->codec_id == AV_CODEC_ID_DVD_SUBTITLE && stream->id >= 0x20 &&
            stream->id < 0x40 && packet->pos >= 0) {
            subtitles::SubpicturePacket p;
            p.stream = uint8_t(stream->id - 0x20);
            p.pts = packet->pts == AV_NOPTS_VALUE ? -1 : packet->pts;
            p.payload.assign(packet->data, packet->data + packet->size);
            packets_.push_back({uint32_t(packet->pos / kSector), std::move(p)});
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
}

subtitles::CellPackets LibavTitlePackets::ReadCell(const subtitles::IfoCell& cell) {
    subtitles::CellPackets out;
    out.startPts = VobuStart(vobs_, cell.firstSector);
    for (const Located& located : packets_)
        if (located.sector >= cell.firstSector && located.sector <= cell.lastSector)
            out.packets.push_back(located.packet);
    return out;
}

}  // namespace subtitletest
