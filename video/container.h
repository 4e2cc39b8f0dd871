// The kinds of file a recording can be: the file's extension chooses one.
// Each names the FFmpeg muxer that writes it and whether it is one file or
// a numbered picture per frame.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorbel {

enum class ContainerKind { Avi, QuickTime, Mp4, WebM, PngSequence };

struct ContainerSpec {
    ContainerKind kind;
    const char* extension;    // with its dot, lower case: ".mov"
    const char* muxer;        // FFmpeg's name for the writer
    const char* description;  // what the user is told
    bool pictureSequence;     // one numbered file per frame
    const char* muxerOptions; // the muxer's own options, "name=value:name=value"
};

const std::vector<ContainerSpec>& ContainerCatalog();
const ContainerSpec& AviContainer();

// The container a file name asks for by its extension (in any case); AVI,
// the program's own format, for every other name.
const ContainerSpec& ContainerForName(const std::string& fileName);
// True when the name ends in the extension of one of the containers other
// than AVI (in any case).
bool HasOtherContainerExtension(const std::string& fileName);

// "<name>_%05d.png" for "<name>.png": the name FFmpeg's picture-sequence
// writer numbers from 1, with any '%' of the name itself escaped so that it
// is not read as a number's place.
std::string SequencePattern(const std::string& fileName);
// The name of picture `number` of the sequence for `fileName`.
std::string SequenceFrameName(const std::string& fileName, int number);

// ".mov, .mp4, .webm, .png" and the like, for messages.
std::string ExtensionList(const std::vector<const ContainerSpec*>& containers);

}  // namespace quorbel
