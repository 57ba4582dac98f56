#include "xvid/XvidFlags.h"

#include <xvid.h>

namespace mxcodec {

namespace {

// motion_search 0..6: each step searches wider or finer than the one before.
constexpr int kSearch[7] = {
    0,
    XVID_ME_ADVANCEDDIAMOND16,
    XVID_ME_ADVANCEDDIAMOND16 | XVID_ME_HALFPELREFINE16,
    XVID_ME_ADVANCEDDIAMOND16 | XVID_ME_HALFPELREFINE16 | XVID_ME_ADVANCEDDIAMOND8 |
        XVID_ME_HALFPELREFINE8,
    XVID_ME_ADVANCEDDIAMOND16 | XVID_ME_HALFPELREFINE16 | XVID_ME_ADVANCEDDIAMOND8 |
        XVID_ME_HALFPELREFINE8 | XVID_ME_EXTSEARCH16,
    XVID_ME_ADVANCEDDIAMOND16 | XVID_ME_HALFPELREFINE16 | XVID_ME_ADVANCEDDIAMOND8 |
        XVID_ME_HALFPELREFINE8 | XVID_ME_EXTSEARCH16 | XVID_ME_EXTSEARCH8,
    XVID_ME_USESQUARES16 | XVID_ME_HALFPELREFINE16 | XVID_ME_USESQUARES8 | XVID_ME_HALFPELREFINE8 |
        XVID_ME_EXTSEARCH16 | XVID_ME_EXTSEARCH8,
};

// vhq_mode 0..4: rate-distortion decisions, from the macroblock mode up to a full search.
constexpr int kVhqSearch[5] = {
    0,
    0,
    XVID_ME_HALFPELREFINE16_RD,
    XVID_ME_HALFPELREFINE16_RD | XVID_ME_HALFPELREFINE8_RD | XVID_ME_CHECKPREDICTION_RD,
    XVID_ME_HALFPELREFINE16_RD | XVID_ME_HALFPELREFINE8_RD | XVID_ME_CHECKPREDICTION_RD |
        XVID_ME_EXTSEARCH_RD,
};

constexpr int kTurbo = XVID_ME_FASTREFINE16 | XVID_ME_FASTREFINE8 | XVID_ME_SKIP_DELTASEARCH |
                       XVID_ME_FAST_MODEINTERPOLATE | XVID_ME_BFRAME_EARLYSTOP;

}  // namespace

XvidFrameFlags XvidFlagsFor(const XvidConfig& c) {
    XvidFrameFlags f;
    f.motion = kSearch[c.motionSearch];
    if (c.motionSearch >= 1) f.vop |= XVID_VOP_HALFPEL | XVID_VOP_HQACPRED;
    if (c.motionSearch >= 3) f.vop |= XVID_VOP_INTER4V;
    if (c.vhq >= 1) {
        f.vop |= XVID_VOP_MODEDECISION_RD;
        f.motion |= kVhqSearch[c.vhq];
    }
    if (c.qpel) {
        f.vol |= XVID_VOL_QUARTERPEL;
        f.motion |= XVID_ME_QUARTERPELREFINE16 | XVID_ME_QUARTERPELREFINE8;
        if (c.vhq >= 2) f.motion |= XVID_ME_QUARTERPELREFINE16_RD;
        if (c.vhq >= 3) f.motion |= XVID_ME_QUARTERPELREFINE8_RD;
    }
    if (c.gmc) {
        f.vol |= XVID_VOL_GMC;
        f.motion |= XVID_ME_GME_REFINE;
    }
    if (c.interlacing) f.vol |= XVID_VOL_INTERLACING;
    if (c.quantType >= 1) f.vol |= XVID_VOL_MPEGQUANT;
    if (c.chromaMe) f.motion |= XVID_ME_CHROMA_PVOP | XVID_ME_CHROMA_BVOP;
    if (c.turbo) f.motion |= kTurbo;
    if (c.trellis) f.vop |= XVID_VOP_TRELLISQUANT;
    if (c.cartoon) {
        f.vop |= XVID_VOP_CARTOON;
        f.motion |= XVID_ME_DETECT_STATIC_MOTION;
    }
    return f;
}

}  // namespace mxcodec
