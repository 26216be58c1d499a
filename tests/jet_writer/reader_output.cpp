// A small JSON reader for flat records (nested objects only for mdb-json's binary form)
// and a process runner for the reader programs.
#include "reader_output.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>

namespace kavero::jet::writer::test {
namespace {

class Parser {
public:
    explicit Parser(const std::string& s) : m_s(s) {}

    Record record() {
        Record out;
        expect('{');
        skipSpace();
        if (peek() == '}') {
            ++m_at;
            return out;
        }
        while (true) {
            skipSpace();
            std::string key = string();
            skipSpace();
            expect(':');
            out.emplace_back(std::move(key), value());
            skipSpace();
            if (peek() == ',') {
                ++m_at;
                continue;
            }
            expect('}');
            return out;
        }
    }

private:
    char peek() const {
        if (m_at >= m_s.size()) throw std::runtime_error("JSON ends early: " + m_s.substr(0, 200));
        return m_s[m_at];
    }
    void expect(char c) {
        skipSpace();
        if (peek() != c) throw std::runtime_error(std::string("JSON: expected ") + c + " at " + std::to_string(m_at));
        ++m_at;
    }
    void skipSpace() {
        while (m_at < m_s.size() && (m_s[m_at] == ' ' || m_s[m_at] == '\t')) ++m_at;
    }
    static void putUtf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    char32_t hex4() {
        if (m_s.size() - m_at < 4) throw std::runtime_error("JSON: short \\u escape");
        const char32_t v = static_cast<char32_t>(std::stoul(m_s.substr(m_at, 4), nullptr, 16));
        m_at += 4;
        return v;
    }
    std::string string() {
        expect('"');
        std::string out;
        while (true) {
            const char c = peek();
            ++m_at;
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = peek();
            ++m_at;
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                char32_t cp = hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && m_s.compare(m_at, 2, "\\u") == 0) {
                    m_at += 2;
                    const char32_t low = hex4();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                putUtf8(out, cp);
                break;
            }
            default: out += e; break;
            }
        }
    }
    Cell value() {
        skipSpace();
        Cell cell;
        const char c = peek();
        if (c == '"') {
            cell.kind = Cell::Kind::String;
            cell.text = string();
        } else if (c == '{') {
            // mdb-json's binary form: {"$binary": "<base64>", "$type": "00"}
            const Record inner = record();
            cell.kind = Cell::Kind::Binary;
            for (const auto& [k, v] : inner)
                if (k == "$binary") cell.bytes = base64Decode(v.text);
        } else if (m_s.compare(m_at, 4, "null") == 0) {
            m_at += 4;
        } else if (m_s.compare(m_at, 4, "true") == 0) {
            m_at += 4;
            cell.kind = Cell::Kind::Bool;
            cell.flag = true;
        } else if (m_s.compare(m_at, 5, "false") == 0) {
            m_at += 5;
            cell.kind = Cell::Kind::Bool;
        } else {
            cell.kind = Cell::Kind::Number;
            while (m_at < m_s.size() && m_s[m_at] != ',' && m_s[m_at] != '}' && m_s[m_at] != ' ') cell.text += m_s[m_at++];
            if (cell.text.empty()) throw std::runtime_error("JSON: empty value at " + std::to_string(m_at));
        }
        return cell;
    }
    static std::vector<std::uint8_t> base64Decode(const std::string& text) {
        std::vector<std::uint8_t> out;
        unsigned buffer = 0;
        int bits = 0;
        for (char c : text) {
            int v;
            if (c >= 'A' && c <= 'Z') v = c - 'A';
            else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
            else if (c >= '0' && c <= '9') v = c - '0' + 52;
            else if (c == '+') v = 62;
            else if (c == '/') v = 63;
            else continue; // padding
            buffer = (buffer << 6) | static_cast<unsigned>(v);
            bits += 6;
            if (bits >= 8) {
                bits -= 8;
                out.push_back(static_cast<std::uint8_t>(buffer >> bits));
            }
        }
        return out;
    }

    const std::string& m_s;
    std::size_t m_at = 0;
};

std::string quote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

std::string describe(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Null: return "null";
    case Cell::Kind::String: return "\"" + cell.text.substr(0, 120) + (cell.text.size() > 120 ? "…" : "") + "\"";
    case Cell::Kind::Number: return cell.text;
    case Cell::Kind::Bool: return cell.flag ? "true" : "false";
    case Cell::Kind::Binary: return "<" + std::to_string(cell.bytes.size()) + " bytes>";
    }
    return "?";
}

Record parseRecord(const std::string& line) { return Parser(line).record(); }

CommandResult run(const std::vector<std::string>& argv) {
    std::string command;
    for (const std::string& a : argv) command += (command.empty() ? "" : " ") + quote(a);
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool haveProgram(const std::string& name) {
    return run({"sh", "-c", "command -v " + quote(name) + " >/dev/null 2>&1 && echo yes"}).out == "yes\n";
}

} // namespace kavero::jet::writer::test
