#pragma once
// Words and numbers of the text model files (".mes" and the skinned ".ams"): tokens separated by
// white space. A number must fill its whole word ("C" locale); a word that is not one, or the end
// of the input where one was expected, fails the read and is kept for the error line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class YMeshTextReader {
public:
    // The largest text model file read; larger ones are refused.
    static constexpr std::size_t MAX_FILE_BYTES = 32u << 20;

    YMeshTextReader() = default;
    explicit YMeshTextReader(std::string text) : text_(std::move(text)) {}

    // Reads the file as text (CR LF as LF). When it is missing or too large the reader is empty,
    // so the first word read is "".
    enum class OpenResult { Ok, Missing, TooLarge };
    OpenResult Open(const char* path);

    // The next word, or "" at the end of the input.
    std::string Word();
    bool Int(int32_t& out);
    // A smoothing mask: decimal 0 .. 4294967295; negative 32-bit values wrap as the unsigned
    // extraction of a C++ stream does.
    bool UInt(uint32_t& out);
    // A finite real.
    bool Real(float& out);

    // The word that the last failed number read met ("" at the end of the input).
    const std::string& BadWord() const { return bad_; }
    // Bytes not read yet.
    std::size_t Remaining() const { return text_.size() - pos_; }
    // Whether `count` records of `wordsEach` words could still follow: each word takes at least
    // one character and one separator. Counts read from a file are checked with this before
    // anything is allocated for them.
    bool CouldHold(int64_t count, int wordsEach) const;

private:
    std::string_view NextWord();
    bool Fail(std::string_view word);

    std::string text_;
    std::size_t pos_ = 0;
    std::string bad_;
};
