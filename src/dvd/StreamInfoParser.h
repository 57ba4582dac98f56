#pragma once
// Describes a ripped DVD title from its folder, by one of two routes: the ripper's stream
// information file ("VTS_* - Stream Information.txt"), or, when there is none, the title sets'
// IFO files. A new object is made for every folder; the caller copies the description out.
// Neither route catches errors: anything that cannot be read raises DvdParseError.
#include <cstdint>
#include <string>

#include "dvd/VobInfo.h"
#include "util/codepage.h"

class ParseStreamInfo {
  public:
    // Text route; `path` is the full path of the stream information file, whose text is in
    // `codePage` (the stored texts are UTF-8). Sets FileName() and, on success, the whole
    // record with Valid true; on an error the record keeps its former contents.
    void ParseTextFile(const std::string& path, CodePage codePage = SystemAnsiCodePage());

    // IFO route; `directory` is the folder without a trailing separator. Valid is true when at
    // least one "VTS_*_0.IFO" file was found, false otherwise.
    void ParseIfoFiles(const std::string& directory);

    TVobInfo GetVobInfo() const { return vobInfo_; }
    // The file the text route last read.
    const std::string& FileName() const { return fileName_; }

  private:
    std::string fileName_;
    TVobInfo vobInfo_;
};

// Largest stream information file read; the ripper's are a few kilobytes.
inline constexpr uint64_t kMaxStreamInfoFileSize = 4ull << 20;
