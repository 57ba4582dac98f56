#include "xvid/XvidSession.h"

#include <xvid.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <numeric>
#include <thread>

#include "common/CodecError.h"
#include "common/CodecInstance.h"
#include "common/PassFiles.h"
#include "xvid/XvidFlags.h"
#include "xvid/XvidSizeGuard.h"
#include "xvid/XvidStats.h"

namespace mxcodec {

namespace {

constexpr char kStatsWhat[] = "statistics file";

// The target is the size the video stream takes in its AVI, and the host's AVI spends on every
// frame a chunk header (8 bytes), an index entry (16) and half a pad byte on average: the
// compressed frames get what is left.
constexpr double kAviBytesPerFrame = 24.5;

// The library's start-up fills its tables of processor-specific routines; once per process is
// enough, and doing it again while another instance encodes would race.
void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        xvid_gbl_init_t init{};
        init.version = XVID_VERSION;
        xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr);
    });
}

// The library splits each frame's motion search over threads that it starts for the frame and
// that wait for each other by spinning. With two cores that costs more than it gains (a first
// pass took twice as long with a second thread, a full-quality pass two and a half times), and
// the spinning takes the core the host serves its frames on; so the library gets the cores but
// one, and a few macroblock rows for each thread.
int ThreadsFor(const MxVideoFormat& format) {
    const int cores = int(std::thread::hardware_concurrency());
    const int rows = (format.height + 15) / 16;
    return std::clamp(std::min(cores - 1, rows / 4), 1, 8);
}

// The frame's planes. A greyscale zone gets `neutral` colour: the library leaves colour out of
// what it codes, but its predictions would still carry the colour of the frames before the
// zone, so the zone also starts with a key frame.
void SetInput(xvid_enc_frame_t& frame, const MxCompressFrame& input, const uint8_t* neutral,
              int neutralStride) {
    frame.input.csp = XVID_CSP_PLANAR;
    for (int i = 0; i < 3; ++i) {
        const bool grey = neutral && i > 0;
        frame.input.plane[i] = const_cast<uint8_t*>(grey ? neutral : input.planes[i]);
        frame.input.stride[i] = grey ? neutralStride : input.strides[i];
    }
}

struct PassPlugins {
    xvid_plugin_2pass1_t first{};
    xvid_plugin_2pass2_t second{};
    xvid_plugin_lumimasking_t masking{};
};

std::vector<xvid_enc_zone_t> XvidZones(const XvidConfig& config) {
    std::vector<xvid_enc_zone_t> zones;
    for (const XvidZone& z : config.zones) {
        xvid_enc_zone_t zone{};
        zone.frame = z.frame;
        zone.mode = z.mode == 1 ? XVID_ZONE_QUANT : XVID_ZONE_WEIGHT;
        zone.increment = z.mode == 1 ? z.quant : z.weight;
        zone.base = 100;
        zones.push_back(zone);
    }
    return zones;
}

// The rate control of the pass (with the size guard after it in a second pass) and masking.
std::vector<xvid_enc_plugin_t> XvidPlugins(const XvidConfig& config, std::string& statsPath,
                                           XvidSizeGuard* guard, PassPlugins& params) {
    std::vector<xvid_enc_plugin_t> plugins;
    if (config.mode == kXvidFirstPass) {
        params.first.version = XVID_VERSION;
        params.first.filename = statsPath.data();
        plugins.push_back({xvid_plugin_2pass1, &params.first});
    } else if (config.mode == kXvidSecondPass) {
        xvid_plugin_2pass2_t& rc = params.second;
        rc.version = XVID_VERSION;
        rc.bitrate = -config.desiredSize;  // a negative rate is the target size in KiB
        rc.filename = statsPath.data();
        rc.keyframe_boost = config.keyframeBoost;
        rc.curve_compression_high = config.curveHigh;
        rc.curve_compression_low = config.curveLow;
        rc.overflow_control_strength = config.overflowStrength;
        rc.max_overflow_improvement = config.overflowImprovement;
        rc.max_overflow_degradation = config.overflowDegradation;
        rc.kfreduction = config.kfReduction;
        rc.kfthreshold = config.kfThreshold;
        plugins.push_back({xvid_plugin_2pass2, &rc});
        plugins.push_back({XvidSizeGuard::Plugin, guard});
    }
    if (config.lumMasking) {
        params.masking.version = XVID_VERSION;
        params.masking.method = config.lumMasking - 1;
        plugins.push_back({xvid_plugin_lumimasking, &params.masking});
    }
    return plugins;
}

}  // namespace

XvidSession::XvidSession(const XvidConfig& config, const MxVideoFormat& format)
    : config_(config), format_(format) {
    InitLibrary();
    if (config_.mode == kXvidFirstPass) {
        firstPass_ = std::make_unique<FirstPassFile>(config_.stats, kStatsWhat);
        statsPath_ = firstPass_->PartPath();
    } else if (config_.mode == kXvidSecondPass) {
        const FirstPassData data = ReadFirstPassFile(config_.stats, kStatsWhat, format_);
        const std::vector<XvidStatFrame> frames = ParseXvidStats(data.body, config_.stats);
        statFrames_ = PassFrames(kStatsWhat, config_.stats, int64_t(frames.size()), data.frames);
        statsPath_ = config_.stats;
        const double chunks = kAviBytesPerFrame * double(frames.size());
        guard_ = std::make_unique<XvidSizeGuard>(
            frames, config_.zones,
            std::max<int64_t>(1, int64_t(config_.desiredSize) * 1024 - int64_t(chunks)));
    }
    buffer_.resize(CodecInstance::MaxFrameBytes(format_.width, format_.height));
    neutralChroma_.assign(size_t(format_.width / 2) * size_t(format_.height / 2), 128);
    Create();
}

XvidSession::~XvidSession() {
    Destroy();
}

void XvidSession::Create() {
    const uint32_t common = std::gcd(format_.rateNum, format_.rateDen);
    std::vector<xvid_enc_zone_t> zones = XvidZones(config_);
    PassPlugins params;
    std::vector<xvid_enc_plugin_t> plugins = XvidPlugins(config_, statsPath_, guard_.get(), params);
    xvid_enc_create_t create{};
    create.version = XVID_VERSION;
    create.profile = config_.profile;
    create.width = format_.width;
    create.height = format_.height;
    create.num_zones = int(zones.size());
    create.zones = zones.data();
    create.num_plugins = int(plugins.size());
    create.plugins = plugins.data();
    create.num_threads = ThreadsFor(format_);
    create.max_bframes = config_.useBvop ? config_.maxBframes : 0;
    if (config_.packed) create.global |= XVID_GLOBAL_PACKED;
    if (config_.closedGov) create.global |= XVID_GLOBAL_CLOSED_GOP;
    create.fincr = int(format_.rateDen / common);
    create.fbase = int(format_.rateNum / common);
    create.max_key_interval = config_.maxKeyInterval;
    create.frame_drop_ratio = config_.frameDropRatio;
    create.bquant_ratio = config_.bquantRatio;
    create.bquant_offset = config_.bquantOffset;
    for (int t = 0; t < 3; ++t) {
        create.min_quant[t] = config_.minQuant[t];
        create.max_quant[t] = config_.maxQuant[t];
    }
    const int result = xvid_encore(nullptr, XVID_ENC_CREATE, &create, nullptr);
    if (result < 0 || !create.handle) {
        if (config_.mode != kXvidSinglePass) {
            PassFileError(
                kStatsWhat, statsPath_,
                "was refused by libxvidcore's rate control (error " + std::to_string(result) + ")");
        }
        throw CodecError(MXICERR_INTERNAL, "libxvidcore cannot set up an encoder for " +
                                               std::to_string(format_.width) + "x" +
                                               std::to_string(format_.height) + " (error " +
                                               std::to_string(result) + ")");
    }
    handle_ = create.handle;
}

void XvidSession::Destroy() noexcept {
    if (handle_) xvid_encore(handle_, XVID_ENC_DESTROY, nullptr, nullptr);
    handle_ = nullptr;
}

uint32_t XvidSession::StreamCode() const {
    switch (config_.fourccUsed) {
        case 1:
            return MxFourCC('D', 'I', 'V', 'X');
        case 2:
            return MxFourCC('D', 'X', '5', '0');
        default:
            return MxFourCC('X', 'V', 'I', 'D');
    }
}

const XvidZone* XvidSession::ZoneAt(int64_t frame) const {
    const XvidZone* found = nullptr;
    for (const XvidZone& zone : config_.zones) {
        if (zone.frame > frame) break;
        found = &zone;
    }
    return found;
}

int XvidSession::Code(const MxCompressFrame* input, const XvidZone* zone, MxCompressFrame& out) {
    const XvidFrameFlags flags = XvidFlagsFor(config_);
    xvid_enc_frame_t frame{};
    frame.version = XVID_VERSION;
    frame.vol_flags = flags.vol;
    frame.vop_flags = flags.vop;
    frame.motion = flags.motion;
    frame.par = XVID_PAR_11_VGA;
    if (config_.hasMatrices) {
        frame.quant_intra_matrix = config_.intraMatrix.data();
        frame.quant_inter_matrix = config_.interMatrix.data();
    }
    frame.type = XVID_TYPE_AUTO;
    if (input) {
        const bool grey = zone && zone->greyscale;
        SetInput(frame, *input, grey ? neutralChroma_.data() : nullptr, format_.width / 2);
        if (grey && zone->frame == framesIn_) frame.type = XVID_TYPE_IVOP;
        if (config_.mode == kXvidSinglePass) frame.quant = SinglePassQuant(zone);
    } else {
        frame.input.csp = XVID_CSP_NULL;
    }
    if (zone) {
        if (zone->greyscale) frame.vop_flags |= XVID_VOP_GREYSCALE;
        if (zone->chromaOpt) frame.vop_flags |= XVID_VOP_CHROMAOPT;
        frame.bframe_threshold = zone->bvopThreshold;
    }
    frame.bitstream = buffer_.data();
    frame.length = int(buffer_.size());
    const int bytes = xvid_encore(handle_, XVID_ENC_ENCODE, &frame, nullptr);
    if (bytes == XVID_ERR_END) return bytes;
    if (bytes < 0 || size_t(bytes) > buffer_.size()) {
        throw CodecError(MXICERR_INTERNAL, "libxvidcore failed on frame " +
                                               std::to_string(framesIn_) + " (error " +
                                               std::to_string(bytes) + ")");
    }
    std::memcpy(out.output, buffer_.data(), size_t(bytes));
    out.outputBytes = uint32_t(bytes);
    if (frame.out_flags & XVID_KEYFRAME) out.flags |= MXFRAME_KEY;
    out.frameType = FirstPictureType(buffer_.data(), size_t(bytes));
    return bytes;
}

// Weighted zones scale the quantizer as they would scale the bits; the limits of P-frames bound
// it, since the frame's type is not chosen yet.
int XvidSession::SinglePassQuant(const XvidZone* zone) {
    double quant = config_.desiredQuant / 100.0;
    if (zone && zone->mode == 1) quant = zone->quant / 100.0;
    if (zone && zone->mode == 0) quant = quant * 100.0 / zone->weight;
    return std::clamp(spreader_.Next(quant), config_.minQuant[1], config_.maxQuant[1]);
}

void XvidSession::Encode(MxCompressFrame& frame) {
    if (config_.mode == kXvidSecondPass) statFrames_.CheckNext(framesIn_);
    Code(&frame, ZoneAt(framesIn_), frame);
    ++framesIn_;
}

bool XvidSession::Drain(MxCompressFrame& frame) {
    // With no input the library returns the frames it holds, then says the stream ended.
    for (int tries = 0; tries < 4; ++tries) {
        const int bytes = Code(nullptr, nullptr, frame);
        if (bytes == XVID_ERR_END) return false;
        if (bytes > 0) return true;
    }
    return false;
}

void XvidSession::Finish() {
    Destroy();  // the first pass's rate control closes its file here
    if (config_.mode == kXvidFirstPass) {
        firstPass_->Commit(format_, framesIn_);
    } else if (config_.mode == kXvidSecondPass) {
        statFrames_.CheckEnd(framesIn_);
    }
}

}  // namespace mxcodec
