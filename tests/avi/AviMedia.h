#pragma once
// AVI files made by an independent writer (ffmpeg) and what an independent reader (ffprobe) sees
// in them: the tests compare the split search with that reading.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "avi/AviIndex.h"

namespace avimedia {

struct Packet {
    int stream = 0;
    int64_t dts = 0;
    uint32_t size = 0;
    int64_t pos = 0;  // of the chunk data
    bool key = false;
};

// One chunk as ffprobe's packets describe it; `pos` is -1 for an empty video chunk, which the
// reader does not report as a packet but which still holds a frame's place.
struct Chunk {
    uint32_t kind = kChunkOther;
    uint32_t size = 0;
    int64_t pos = -1;
};

// The folder with the made files, made on first use; empty when they cannot be made (`why`).
inline std::string MediaDir(std::string& why) {
    static std::once_flag once;
    static std::string dir, problem;
    std::call_once(once, [] {
        const std::string script =
            std::string(MOVREX_SOURCE_DIR) + "/tests/media/make_avi_files.sh";
        const std::string out = std::string(MOVREX_BUILD_DIR) + "/media/avi";
        const std::string command = "bash '" + script + "' '" + out + "'";
        const int status = std::system(command.c_str());
        if (status == 0)
            dir = out;
        else
            problem = "the test AVI files could not be made (" + command + ")";
    });
    why = problem;
    return dir;
}

inline std::vector<Packet> ReadPackets(const std::string& path) {
    std::vector<Packet> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::map<std::string, std::string> field;
        std::stringstream parts(line);
        std::string item;
        while (std::getline(parts, item, '|')) {
            const auto eq = item.find('=');
            if (eq != std::string::npos) field[item.substr(0, eq)] = item.substr(eq + 1);
        }
        Packet p;
        p.stream = std::stoi(field.at("stream_index"));
        p.dts = std::stoll(field.at("dts"));
        p.size = uint32_t(std::stoul(field.at("size")));
        p.pos = std::stoll(field.at("pos"));
        p.key = field.at("flags").find('K') != std::string::npos;
        out.push_back(p);
    }
    return out;
}

// The chunks in file order, with an empty chunk wherever a video frame number is missing.
inline std::vector<Chunk> ChunksOf(std::vector<Packet> packets) {
    std::stable_sort(packets.begin(), packets.end(),
                     [](const Packet& a, const Packet& b) { return a.pos < b.pos; });
    std::vector<Chunk> out;
    int64_t nextFrame = 0;
    for (const Packet& p : packets) {
        if (p.stream != 0) {
            out.push_back({kChunkOther, p.size, p.pos});
            continue;
        }
        for (; nextFrame < p.dts; ++nextFrame) out.push_back({kChunkDelta, 0, -1});
        out.push_back({p.key ? kChunkKeyFrame : kChunkDelta, p.size, p.pos});
        ++nextFrame;
    }
    return out;
}

// Where the next part begins, worked out from running sums rather than by a walk: the last key
// frame after the start whose chunk still begins inside the limit; the first key frame after the
// start when there is none; the frame count when the rest fits.
inline int32_t ExpectedSplit(const std::vector<Chunk>& chunks, int64_t moviStart, int32_t start,
                             int32_t sizeMiB) {
    std::vector<int64_t> before(chunks.size() + 1, 0);  // bytes of the chunks before chunk k
    std::vector<int64_t> frameAt(chunks.size(), -1);
    std::vector<size_t> chunkOf;
    for (size_t k = 0; k < chunks.size(); ++k) {
        before[k + 1] = before[k] + chunks[k].size + 24;
        if (chunks[k].kind != kChunkOther) {
            frameAt[k] = int64_t(chunkOf.size());
            chunkOf.push_back(k);
        }
    }
    const int64_t frames = int64_t(chunkOf.size());
    if (start >= frames) return int32_t(frames);
    const int64_t limit = int64_t(sizeMiB) * 1048576;
    const size_t first = start > 0 ? chunkOf[size_t(start)] : 0;
    const auto partBefore = [&](size_t k) { return moviStart + before[k] - before[first]; };
    if (partBefore(chunks.size()) < limit) return int32_t(frames);
    int64_t best = -1, firstKey = -1;
    for (size_t k = first; k < chunks.size(); ++k) {
        if (chunks[k].kind != kChunkKeyFrame || frameAt[k] <= std::max(start, 0)) continue;
        if (firstKey < 0) firstKey = frameAt[k];
        if (partBefore(k) < limit) best = frameAt[k];
    }
    if (best >= 0) return int32_t(best);
    return int32_t(firstKey >= 0 ? firstKey : frames);
}

}  // namespace avimedia
