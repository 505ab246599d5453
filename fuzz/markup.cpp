// Feeds arbitrary bytes through the markup reader with a few registered tags. Every tag that
// arrives is written back with the writer and read again; its values must survive that trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/color.h"
#include "core/log.h"
#include "core/xml_parser.h"

namespace {

class Reader : public XMLParser {
public:
    Reader() {
        XMLTag t;
        AddTag(XMLTag("config"));
        AddTag(MakeTag(t, "video", "width", "800", "height", "600", "windowed", "1", nullptr));
        AddTag(MakeTag(t, "material", "name", "", "mass", "1", "color", "ffffff", nullptr));
        AddTag(MakeTag(t, "text", "id", "", nullptr));
    }

    // Parses one written tag: a single OnTag of tag `id` must come back and nothing else.
    void ExpectOnly(int id, const std::string& written) {
        expectId_ = id;
        got_ = 0;
        Parse(written);
        if (got_ != 1) std::abort();
    }
    XMLTag& TagAt(int id) { return tags[id]; }

    Reader* echo = nullptr; // reads back what this reader writes

protected:
    void OnTag(int id) override {
        if (expectId_ >= 0) {
            if (id != expectId_) std::abort();
            ++got_;
            return;
        }
        XMLTag& tag = tags[id];
        for (const XMLAttribute& a : tag.attributes) {
            volatile int i = a.AsInt();
            volatile float f = a.AsFloat();
            volatile bool b = a.AsBool();
            (void)i, (void)f, (void)b;
        }
        if (echo) {
            std::string written;
            WriteTag(written, tag, true);
            echo->ExpectOnly(id, written);
            const XMLTag& back = echo->TagAt(id);
            for (std::size_t k = 0; k < tag.attributes.size(); ++k) {
                std::string want = tag.attributes[k].value;
                // The one value quoting cannot hold: both quote kinds; '"' is written as '\''.
                if (want.find('"') != std::string::npos && want.find('\'') != std::string::npos)
                    for (char& c : want)
                        if (c == '"') c = '\'';
                if (back.attributes[k].value != want) std::abort();
            }
        }
        // Colours throw on short text; the message must come back through OnError.
        if (tag.name == "material") {
            YColor colour;
            colour.ParseColor(tag.attributes[2].value);
        }
    }
    void OnCloseTag(int id) override {
        if (expectId_ >= 0 && id != expectId_) std::abort();
        volatile std::size_t n = text.size();
        (void)n;
    }
    bool OnError(const char* message) override {
        if (expectId_ >= 0) std::abort(); // written tags always read back cleanly
        volatile std::size_t n = std::string_view(message).size();
        (void)n;
        return true;
    }

private:
    int expectId_ = -1;
    int got_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen(""); // unfinished-input lines would only slow the run down
        return true;
    }();
    (void)quiet;
    static Reader echo;
    Reader reader;
    reader.echo = &echo;
    reader.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
