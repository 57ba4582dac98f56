#include "common/PassFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/CodecError.h"
#include "platform/atomic_file.h"

namespace mxcodec {

namespace {

// A first pass of a long film writes some tens of megabytes; far more is not ours.
constexpr size_t kMaxPassFile = size_t(512) << 20;

constexpr char kClipMark[] = "# clip ";

std::string ClipText(const MxVideoFormat& f) {
    return std::to_string(f.width) + "x" + std::to_string(f.height) + " " +
           std::to_string(f.rateNum) + "/" + std::to_string(f.rateDen);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

void PassFileError(const std::string& what, const std::string& path, const std::string& problem) {
    throw CodecError(MXICERR_FILE, "The " + what + " " + path + " " + problem);
}

FirstPassFile::FirstPassFile(std::string path, std::string what)
    : path_(std::move(path)), part_(path_ + ".part"), what_(std::move(what)) {
    if (path_.empty()) {
        throw CodecError(MXICERR_FILE,
                         "The first pass has no " + what_ + " to write: its name is empty");
    }
    fd_ = ::open(part_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0)
        PassFileError(what_, part_, std::string("cannot be written: ") + std::strerror(errno));
}

FirstPassFile::~FirstPassFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(part_.c_str());
}

void FirstPassFile::Append(const std::string& text) {
    if (!WriteAll(fd_, text)) {
        PassFileError(what_, part_, std::string("cannot be written: ") + std::strerror(errno));
    }
}

void FirstPassFile::Commit(const MxVideoFormat& format, int64_t frames) {
    std::string text, error;
    if (platform::detail::ReadWholeFile(part_, text, error, kMaxPassFile) !=
        platform::detail::ReadStatus::Ok) {
        PassFileError(what_, part_, "cannot be read back: " + error);
    }
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += kClipMark + ClipText(format) + " frames " + std::to_string(frames) + "\n";
    if (!platform::detail::SaveFileAtomically(path_, text, error)) {
        PassFileError(what_, path_, "cannot be saved: " + error);
    }
    committed_ = true;
    ::close(fd_);
    fd_ = -1;
    ::unlink(part_.c_str());
}

FirstPassData ReadFirstPassFile(const std::string& path, const std::string& what,
                                const MxVideoFormat& format) {
    if (path.empty()) {
        throw CodecError(MXICERR_FILE,
                         "The second pass has no " + what + " to read: its name is empty");
    }
    std::string text, error;
    switch (platform::detail::ReadWholeFile(path, text, error, kMaxPassFile)) {
        case platform::detail::ReadStatus::Missing:
            PassFileError(what, path, "is missing: run the first pass before the second");
        case platform::detail::ReadStatus::Failed:
            PassFileError(what, path, "cannot be read: " + error);
        case platform::detail::ReadStatus::Ok:
            break;
    }
    if (text.empty() || text.back() != '\n') {
        PassFileError(what, path, "does not end with a whole line: it was cut short");
    }
    const size_t lineStart = text.rfind('\n', text.size() - 2) + 1;  // npos + 1 == 0
    const std::string last = text.substr(lineStart, text.size() - 1 - lineStart);
    const std::string clip = ClipText(format);
    char size[32] = {};
    long long frames = -1;
    if (last.rfind(kClipMark, 0) != 0 ||
        std::sscanf(last.c_str() + sizeof(kClipMark) - 1, "%31[0-9x/ ]frames %lld", size,
                    &frames) != 2 ||
        frames < 0) {
        PassFileError(what, path,
                      "lacks the line a finished first pass ends it with: it was cut short or "
                      "does not come from this codec");
    }
    std::string seen(size);
    while (!seen.empty() && seen.back() == ' ') seen.pop_back();
    if (seen != clip) {
        PassFileError(
            what, path,
            "was written for a clip of " + seen + " fps, not for this " + clip + " fps one");
    }
    if (format.frameCount > 0 && frames != format.frameCount) {
        PassFileError(what, path,
                      "describes " + std::to_string(frames) + " frames; this clip has " +
                          std::to_string(format.frameCount));
    }
    return FirstPassData{text.substr(0, lineStart), frames};
}

PassFrames::PassFrames(std::string what, std::string path, int64_t frames, int64_t described)
    : what_(std::move(what)), path_(std::move(path)), frames_(frames) {
    if (frames_ != described) {
        PassFileError(what_, path_,
                      "holds " + std::to_string(frames_) + " frames where its last line says " +
                          std::to_string(described));
    }
}

void PassFrames::CheckNext(int64_t coded) const {
    if (coded >= frames_) {
        PassFileError(what_, path_,
                      "describes " + std::to_string(frames_) +
                          " frames, and this second pass goes on past them: it "
                          "belongs to another clip");
    }
}

void PassFrames::CheckEnd(int64_t coded) const {
    if (coded != frames_) {
        PassFileError(what_, path_,
                      "describes " + std::to_string(frames_) + " frames; the second pass had " +
                          std::to_string(coded) + ", so it belongs to another clip");
    }
}

}  // namespace mxcodec
