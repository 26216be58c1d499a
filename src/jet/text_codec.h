// Text as Access stores it, turned into UTF-8: UCS-2 (Jet 4, ACE), the compressed Jet 4
// form, and single- or multi-byte code-page text (Jet 3, whose files cannot tell their code
// page, so the caller chooses it).
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kavero::jet {

inline constexpr int kDefaultCodePage = 1252;

// UCS-2LE with surrogate pairs joined; a lone surrogate becomes U+FFFD. An odd byte count
// has no meaning and throws FormatError.
std::string decodeUcs2(std::span<const std::byte> bytes);

// Jet 4 / ACE text: the compressed form when it starts with FF FE, else UCS-2LE.
std::string decodeJet4Text(std::span<const std::byte> bytes);

// Throws FormatError 3049 when a decoded object name holds a control character (a byte below
// 0x20, or 0x7F), which Access does not allow in any name: such a name is damage, and must not
// reach a statement or a terminal. `what` names the object without its name ("column 2 of 5");
// the text shows the name with each control character written as \xNN.
void requireObjectName(std::string_view name, const std::string& what);

// Decodes code-page bytes. Windows-1252 is built in (the five bytes Windows leaves undefined
// map to U+0081 and friends, as Windows maps them); other code pages go through iconv.
class CodePageDecoder {
public:
    explicit CodePageDecoder(int codePage = kDefaultCodePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    int codePage() const { return m_codePage; }
    std::string decode(std::span<const std::byte> bytes) const;

private:
    struct Converter;
    int m_codePage;
    std::unique_ptr<Converter> m_converter;
};

} // namespace kavero::jet
