#include "scripts/JobText.h"

#include <stdexcept>

#include "util/codepage.h"
#include "util/utils.h"

namespace {

constexpr size_t kMaxAudioPathBytes = 1023;

char HexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 15];
}

}  // namespace

std::string EscapeStringBreakers(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte < 0x20) {
            out += "\\x";
            out += HexDigit(byte >> 4);
            out += HexDigit(byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string OpenLine(const std::string& path) {
    const std::string escaped = EscapeStringBreakers(EscapeBackslashes(path));
    return EscapeHighBytes("VirtualDub.Open(\"" + escaped + "\",0,0);");
}

std::string SaveAviLine(const std::string& path) {
    const std::string escaped = EscapeStringBreakers(EscapeBackslashes(path));
    return EscapeHighBytes("VirtualDub.SaveAVI(\"" + escaped + "\");");
}

std::string AudioSourcePath(const std::string& path, CodePage ansi) {
    const std::string escaped = EscapeStringBreakers(EscapeBackslashes(path));
    // The conversion cuts its result at this length; a cut path would name another file.
    if (ToUtf8(escaped, ansi).size() > kMaxAudioPathBytes)
        throw std::invalid_argument("The audio file path \"" + path +
                                    "\" is too long for the job script.");
    return EscapeUtf8(escaped, ansi);
}

std::string CommentLine(const std::string& tag, const std::string& name, CodePage ansi) {
    return "VirtualDub.video.AddComment(0x00000000,\"" + tag + "\",\"" +
           EscapeUtf8(EscapeStringBreakers(name), ansi) + "\");";
}

void AddCompressionLines(TScriptLines& lines, uint8_t codec, const TScriptEnvironment& env) {
    if (codec > 1)
        throw std::invalid_argument("Unknown codec " + std::to_string(codec) +
                                    " for the job script.");
    // The handler codes "xvid" and "divx" read as little-endian numbers.
    const bool xvid = codec == 0;
    lines.push_back(xvid ? "VirtualDub.video.SetCompression(0x64697678,0,10000,0);"
                         : "VirtualDub.video.SetCompression(0x78766964,0,10000,0);");
    auto state = env.CodecState ? env.CodecState : &CodecStateText;
    lines.push_back("VirtualDub.video.SetCompData(" + state(xvid ? "xvid" : "divx") + ");");
}

void AddDirectCopyVideoLines(TScriptLines& lines) {
    lines.push_back("VirtualDub.video.SetDepth(24,24);");
    lines.push_back("VirtualDub.video.SetMode(0);");
    lines.push_back("VirtualDub.video.SetFrameRate(0,1);");
    lines.push_back("VirtualDub.video.SetIVTC(0,0,-1,0);");
    lines.push_back("VirtualDub.video.SetCompression();");
    lines.push_back("VirtualDub.video.filters.Clear();");
}

void AddVideoJobHead(TScriptLines& lines, const std::string& inputScript, uint8_t codec,
                     const TScriptEnvironment& env) {
    lines.push_back(OpenLine(inputScript));
    lines.push_back("VirtualDub.video.SetMode(1);");
    lines.push_back("VirtualDub.video.SetFrameRate(0,1);");
    lines.push_back("VirtualDub.video.SetIVTC(0,0,-1,0);");
    lines.push_back("VirtualDub.video.SetRange(0,0);");
    AddCompressionLines(lines, codec, env);
    lines.push_back("VirtualDub.video.filters.Clear();");
    lines.push_back("VirtualDub.subset.Delete();");
}

TAudioForm AudioFormOfMode(uint8_t audioMode) {
    switch (audioMode) {
        case 1:
            return TAudioForm::Ac3;
        case 2:
            return TAudioForm::VbrMp3;
        case 3:
            return TAudioForm::CbrMp3;
        default:
            return TAudioForm::None;
    }
}
