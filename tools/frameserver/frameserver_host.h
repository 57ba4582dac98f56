/* The frame server's interface for hosts (the job runner, the preview player): a host loads
 * system/avisynth.dll with dlopen, opens a script and pulls frames from it. Plain C, so that a
 * host needs nothing but this header.
 *
 * Threads: every call on one FsScript is serialised by a lock inside it, so a host may serve from
 * any thread; calls on different scripts run in parallel. A frame may be released from any
 * thread, also after its script was closed: the script's plugins stay loaded until its last
 * frame is released. */
#ifndef MOVREX_FRAMESERVER_HOST_H
#define MOVREX_FRAMESERVER_HOST_H

#ifdef __cplusplus
extern "C" {
#endif

#define FS_INTERFACE_VERSION 1

typedef struct FsScript FsScript;

/* 8-bit planar YUV 4:2:0, always. */
typedef struct FsVideoInfo {
    int width;
    int height;
    unsigned fps_numerator;
    unsigned fps_denominator;
    int frame_count;
} FsVideoInfo;

/* One served frame: planes 0 Y, 1 U, 2 V; chroma at half width and height. Read only. */
typedef struct FsFrame {
    const unsigned char* data[3];
    int pitch[3];
    int width[3];
    int height[3];
} FsFrame;

typedef int (*FsInterfaceVersionFn)(void);
typedef FsScript* (*FsOpenFn)(const char*);

/* FS_INTERFACE_VERSION of the library. */
int fs_interface_version(void);

/* Reads and runs the script file. Returns a handle even when the script fails (NULL only when
 * memory runs out): fs_last_error then says why, and the other calls fail. */
FsScript* fs_open(const char* script_path);

/* "" when the last call on the script went well, else what went wrong, e.g.
 * "_movie.avs, line 27: Decimate: threshold must be a number". Valid until the next call on the
 * same script. */
const char* fs_last_error(FsScript* script);

/* 0 and the description of the script's clip, or -1. */
int fs_video_info(FsScript* script, FsVideoInfo* info);

/* Frame n (0 .. frame_count-1), or NULL (see fs_last_error). Release each frame once. */
const FsFrame* fs_get_frame(FsScript* script, int n);
void fs_release_frame(const FsFrame* frame);

/* 1 when frame n's top field comes first, 0 when the bottom field does, -1 on an error. */
int fs_get_parity(FsScript* script, int n);

/* Closes the script; NULL is allowed. */
void fs_close(FsScript* script);

#ifdef __cplusplus
}
#endif

#endif
