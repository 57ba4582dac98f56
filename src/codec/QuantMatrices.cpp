#include "codec/CodecWrites.h"

namespace {

// Set 0: the softer inter matrix.
constexpr TQuantMatrix kInterSoft = {
    19, 19, 19, 19, 20, 22, 25,  29,   //
    19, 19, 19, 19, 20, 23, 26,  30,   //
    19, 19, 20, 21, 23, 26, 29,  34,   //
    19, 19, 21, 25, 28, 32, 37,  42,   //
    20, 20, 23, 28, 35, 42, 48,  56,   //
    22, 23, 26, 32, 42, 53, 64,  77,   //
    25, 25, 29, 37, 48, 64, 83,  104,  //
    29, 30, 34, 42, 56, 77, 104, 137,
};

// Set 1: the sharper inter matrix.
constexpr TQuantMatrix kInterSharp = {
    18, 18, 18, 18, 19, 21, 23, 27,  //
    18, 18, 18, 18, 19, 21, 24, 29,  //
    18, 18, 19, 20, 22, 24, 28, 32,  //
    18, 18, 20, 24, 27, 30, 35, 40,  //
    19, 19, 22, 27, 33, 39, 46, 53,  //
    21, 21, 24, 30, 39, 50, 61, 73,  //
    23, 24, 28, 35, 46, 61, 79, 98,  //
    27, 29, 32, 40, 53, 73, 98, 129,
};

constexpr TQuantMatrix kIntra = {
    8,  16, 16, 16, 17, 18, 21, 24,  //
    16, 16, 16, 16, 17, 19, 22, 25,  //
    16, 16, 17, 18, 20, 22, 25, 29,  //
    16, 16, 18, 21, 24, 27, 31, 36,  //
    17, 17, 20, 24, 30, 35, 41, 47,  //
    18, 19, 22, 27, 35, 44, 54, 65,  //
    21, 22, 25, 31, 41, 54, 70, 88,  //
    24, 25, 29, 36, 47, 65, 88, 115,
};

}  // namespace

const TQuantMatrix& XviDInterMatrix(int set) {
    return set == 1 ? kInterSharp : kInterSoft;
}

const TQuantMatrix& XviDIntraMatrix() {
    return kIntra;
}

void OpenForWriting(TNewRegistry& reg, const char* key) {
    reg.OpenKey(key, true);
}

void WriteQuantizerType(TNewRegistry& reg, int32_t matrixType, bool essMarker) {
    if (essMarker) {
        reg.WriteInteger("quant_type", matrixType);
        return;
    }
    reg.WriteInteger("quant_type", 2);  // custom matrices
    if (matrixType != 0 && matrixType != 1) return;
    const TQuantMatrix& inter = XviDInterMatrix(matrixType);
    reg.WriteBinaryData("qmatrix_inter", inter.data(), inter.size());
    reg.WriteBinaryData("qmatrix_intra", XviDIntraMatrix().data(), XviDIntraMatrix().size());
}
