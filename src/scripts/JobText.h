#pragma once
// Pieces shared by the job-script writers: the escaping of inserted texts and the statement
// groups that several jobs have in common.
#include <string>

#include "scripts/avs.h"

// A double quote or a control byte inside a job-script string would end the string or the
// statement early; they are written as "\x" escapes, the form the job runner already reads for
// high bytes. File names here may hold both.
std::string EscapeStringBreakers(const std::string& text);

// VirtualDub.Open("<path>",0,0); and VirtualDub.SaveAVI("<path>"); with the path's backslashes
// doubled and every high byte of the finished line escaped.
std::string OpenLine(const std::string& path);
std::string SaveAviLine(const std::string& path);

// An audio file path inside SetSource: backslashes doubled, then converted to UTF-8 and escaped.
// std::invalid_argument when its UTF-8 form is longer than the 1023 bytes the conversion keeps.
std::string AudioSourcePath(const std::string& path, CodePage ansi);

// VirtualDub.video.AddComment(0x00000000,"<tag>","<name>"); the name converted and escaped.
std::string CommentLine(const std::string& tag, const std::string& name, CodePage ansi);

// SetCompression and SetCompData for codec 0 (XviD) or 1 (DivX); std::invalid_argument for any
// other code.
void AddCompressionLines(TScriptLines& lines, uint8_t codec, const TScriptEnvironment& env);

// The video settings of a job that passes the frames on uncompressed and unfiltered: depth,
// mode 0, frame rate, no inverse telecine, no compression, no filters.
void AddDirectCopyVideoLines(TScriptLines& lines);

// The first nine lines of a video job: open, video settings, compression, no filters or subset.
void AddVideoJobHead(TScriptLines& lines, const std::string& inputScript, uint8_t codec,
                     const TScriptEnvironment& env);

// How an audio stream is interleaved: the three forms of the audio codings.
enum class TAudioForm { None, Ac3, VbrMp3, CbrMp3 };
// The form of audio mode 1, 2 or 3; None for any other mode.
TAudioForm AudioFormOfMode(uint8_t audioMode);
