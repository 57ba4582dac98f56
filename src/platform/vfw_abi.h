#pragma once
// The codec layer's binary interface. A codec module is a shared object in the system folder,
// named by the local-machine drivers table
// ("SOFTWARE\Microsoft\Windows NT\CurrentVersion\Drivers32", value "VIDC.<FOURCC>" = file
// name). It exports one C function, MxDriverProc, that takes the driver messages below. The
// planner's util/VFW and the job runner both talk to codecs only through this.
//
// Life of an instance
//
//   MXDRV_OPEN                 the module reads its settings (its registry key) and returns a
//                              handle; 0 means it does not serve that type and handler.
//   MXICM_GETSTATE/SETSTATE    optional: read the whole configuration as a byte blob, or replace
//                              it by one read earlier (what a job script's SetCompData carries).
//                              A blob of another size, version or codec is refused (0) and the
//                              configuration stays as it was.
//   MXICM_COMPRESS_QUERY       optional: would BEGIN accept this input format?
//   MXICM_COMPRESS_BEGIN       starts a run with the input format; fills the stream format.
//   MXICM_COMPRESS             once per input frame, in display order.
//   MXICM_COMPRESS_FLUSH       after the last input frame, until it reports MXFRAME_DONE.
//   MXICM_COMPRESS_END         finishes the run: a first pass saves its statistics file here,
//                              a second pass checks that it used all of them. BEGIN may follow
//                              again for another run with the same configuration.
//   MXDRV_CLOSE                frees the instance (ends a run that is still going, saving
//                              nothing).
//
// Every message returns MXICERR_OK (0) or a positive count on success and a negative MXICERR_*
// code on failure; after a failure MXICM_GETERRORTEXT gives a sentence that names the file or
// value that was wrong. A message out of order (a frame before BEGIN or after END, BEGIN twice)
// returns MXICERR_BADSTATE and changes nothing.
//
// Threads: an instance is used by one thread at a time (any thread, one after another); separate
// instances, in one process or in several, share nothing and may run in parallel. A module may
// run threads of its own inside COMPRESS; they have ended when the message returns.
//
// Output order: MPEG-4 B-frames make the encoder hold frames back. The compressed frames come out
// in decoding order, one per input frame in all: COMPRESS may return no bytes for an input (the
// frame is held) and FLUSH then returns the held ones. A host that writes one AVI chunk per
// non-empty output and appends the flushed frames gets a stream with as many frames as it sent.
#include <cstdint>

extern "C" {

// Messages. Values follow the installable-compressor message numbering.
enum : uint32_t {
    MXDRV_OPEN = 3,   // p1: fccType, p2: fccHandler; returns an instance handle, 0 = refused
    MXDRV_CLOSE = 4,  // instance; returns 1
    MXICM_GETSTATE = 0x5000,  // p1: buffer or 0, p2: size; with no buffer returns the size,
                              // otherwise the bytes written, or a negative error
    MXICM_SETSTATE = 0x5001,  // p1: buffer, p2: size; returns bytes taken, 0 = refused

    MXICM_COMPRESS_QUERY = 0x4006,  // p1: const MxVideoFormat*; MXICERR_OK or why not
    MXICM_COMPRESS_BEGIN = 0x4007,  // p1: const MxVideoFormat*, p2: MxStreamFormat* (out)
    MXICM_COMPRESS = 0x4008,        // p1: MxCompressFrame*
    MXICM_COMPRESS_END = 0x4009,    // no parameters
    MXICM_COMPRESS_FLUSH = 0x4100,  // p1: MxCompressFrame* (the input planes are not read)
    MXICM_GETERRORTEXT = 0x4101,    // p1: char buffer, p2: its size; returns the text's length
                                    // (without the terminating NUL, which is always written
                                    // when the size is at least 1); 0 when nothing failed yet
};

// Results.
enum : int32_t {
    MXICERR_OK = 0,
    MXICERR_UNSUPPORTED = -1,  // a message the module does not take
    MXICERR_BADFORMAT = -2,    // the input format cannot be compressed (size, rate, pixels)
    MXICERR_MEMORY = -3,
    MXICERR_INTERNAL = -4,  // the encoding library failed
    MXICERR_BADPARAM = -6,  // a null or inconsistent structure, a buffer too small
    MXICERR_BADHANDLE = -8,
    MXICERR_BADSTATE = -11,  // the message does not fit where the instance is in its life
    MXICERR_FILE = -100,     // a statistics file cannot be read, written or is not usable
};

// Planar YUV 4:2:0, 8 bits: the Y plane at full size, then the U (Cb) and V (Cr) planes at half
// width and half height. The only input the modules take.
#define MX_PIXELS_YUV420 0x30323449u  // "I420"

typedef struct MxVideoFormat {
    uint32_t size;     // sizeof(MxVideoFormat)
    int32_t width;     // luma pixels; even, at least 16
    int32_t height;    // luma lines; even, at least 16
    uint32_t rateNum;  // frames per second as a fraction (25/1, 30000/1001)
    uint32_t rateDen;
    uint32_t pixels;     // MX_PIXELS_YUV420
    int32_t frameCount;  // frames the host will send, or 0 when it does not know
} MxVideoFormat;

typedef struct MxStreamFormat {
    uint32_t size;    // sizeof(MxStreamFormat)
    uint32_t fourcc;  // the code for the AVI stream header and bitmap header ("XVID",
                      // "DX50"); the bitstream is MPEG-4 Part 2 video
    int32_t width;
    int32_t height;
    uint32_t maxFrameBytes;  // an output buffer of this size always takes one compressed frame
} MxStreamFormat;

// Flags of a compressed frame.
enum : uint32_t {
    MXFRAME_KEY = 1,   // a key frame: decoding can start here
    MXFRAME_DONE = 2,  // FLUSH: no held frame is left (outputBytes is 0)
};

typedef struct MxCompressFrame {
    uint32_t size;  // sizeof(MxCompressFrame)
    // In: the frame (COMPRESS only). Each plane is read for the format's lines, each line for
    // its width (half the width for U and V); strides may be larger than that.
    const uint8_t* planes[3];  // Y, U, V
    int32_t strides[3];
    // In: where the compressed frame goes.
    uint8_t* output;
    uint32_t outputCapacity;  // at least maxFrameBytes of MxStreamFormat
    // Out.
    uint32_t outputBytes;  // 0: nothing to store yet (the frame is held)
    uint32_t flags;        // MXFRAME_*
    char frameType;        // 'I', 'P', 'B' or 'S': the first picture in the output; 0 with
                           // no output
} MxCompressFrame;

// instance: 0 for MXDRV_OPEN, else what MXDRV_OPEN returned.
typedef intptr_t (*MxDriverProcFn)(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2);

#define MX_DRIVER_PROC_NAME "MxDriverProc"

// Four-character code from text, as the multimedia helper builds it: first byte lowest.
constexpr inline uint32_t MxFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
}
