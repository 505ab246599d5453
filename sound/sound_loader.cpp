// The reader of the sound-effect file ("data\sound_fx.yml").
#include <exception>
#include <memory>
#include <string>

#include "core/log.h"
#include "core/xml_parser.h"
#include "sound/sound_buffer.h"
#include "sound/sound_fx.h"

namespace {

class YSoundLoader : public XMLParser {
public:
    explicit YSoundLoader(const char* file) : file_(file ? file : "") {
        XMLTag tag;
        tagSound_ = AddTag(MakeTag(tag, "sound", "name", "", nullptr));
        tagFile_ = AddTag(MakeTag(tag, "file", "path", "", nullptr));
        tagSoundOnce_ = AddTag(MakeTag(tag, "sound_once", "name", "", "path", "", nullptr));
    }

protected:
    void OnTag(int id) override {
        if (id == tagSound_) {
            if (current_) OnError("Expected </sound>.");
            current_ = GetSoundFx(tags[id].attributes[0].value);
        } else if (id == tagFile_) {
            if (!current_) {
                OnError("Tag <file> outside <sound>.");
                return;
            }
            AddVariant(current_, tags[id].attributes[0].value);
        } else if (id == tagSoundOnce_) {
            if (current_) OnError("Expected </sound>.");
            current_ = GetSoundFx(tags[id].attributes[0].value);
            AddVariant(current_, tags[id].attributes[1].value);
            current_ = nullptr;
        }
    }

    // Only the end of an entry closes it: a self-closing <file .../> is closed as well, and must
    // leave its entry open for the next file.
    void OnCloseTag(int id) override {
        if (id == tagSound_) {
            if (!current_) OnError("Expected <sound>.");
            current_ = nullptr;
        } else if (id == tagSoundOnce_) {
            current_ = nullptr;
        }
    }

    bool OnError(const char* message) override {
        LogPrintf(g_Log, "Sound init parser error, %s, file: %s, line: %d", message, file_.c_str(), GetLine());
        return true;
    }

private:
    // A file that fails to load is reported and not added.
    void AddVariant(YSoundFx* fx, const std::string& path) {
        auto buffer = std::make_unique<YSoundBuffer>();
        try {
            buffer->Open(path.c_str());
        } catch (const std::exception& e) {
            OnError(e.what());
            return;
        }
        fx->variants.push_back(buffer.release());
    }

    std::string file_;
    YSoundFx* current_ = nullptr;
    int tagSound_ = 0;
    int tagFile_ = 0;
    int tagSoundOnce_ = 0;
};

} // namespace

void ParseSoundFile(const char* path) {
    LogPrintf(g_Log, "Parse sounds from file, %s", path ? path : "");
    YSoundLoader loader(path);
    loader.Load(path);
}
