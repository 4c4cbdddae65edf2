#include "app/extensions.h"
#include "app/settings.h"
#include "fuzz_input.h"
#include "level/lists_file.h"
#include "level/sprinfo_file.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput input(bytes, size);
    const std::string text(input.data.begin(), input.data.end());
    RecordingPrompter prompter;
    switch (input.choice % 4) {
    case 0:
        parseExtensions(text, prompter);
        break;
    case 1:
        settingsFromIni(IniFile::parse(text));
        break;
    case 2: {
        TileVocabulary vocabulary;
        std::istringstream in(text);
        readListsFile(in, vocabulary, prompter);
        break;
    }
    default: {
        TileVocabulary vocabulary;
        std::istringstream in(text);
        readSprinfoFile(in, vocabulary, prompter);
        break;
    }
    }
    return 0;
}
