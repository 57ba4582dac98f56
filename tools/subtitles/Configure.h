#pragma once
// Configure: the listed subpicture streams of one program chain and angle of a title, as a
// subtitle pair on the title's timeline.
#include "ConfigureParams.h"
#include "SubpictureSource.h"

namespace subtitles {

// Reads the IFO, takes the cells of the chain and angle and their packets from `source` (the
// title's VOBs when null), and writes the pair at params.base. A stream with no subpictures
// gets an empty block and a warning. Raises an error naming the file when the IFO, the chain or
// the VOBs cannot be read, or the pair cannot be written; nothing is written then.
void RunConfigure(const ConfigureParams& params, SubpictureSource* source = nullptr);

}  // namespace subtitles
