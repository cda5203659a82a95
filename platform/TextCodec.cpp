#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

bool DecodeCodePage(std::string_view bytes, const char* codePage, std::string& utf8) {
    utf8.clear();
    iconv_t cd = iconv_open("UTF-8", codePage);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buf[1024];
    while (inLeft > 0) {
        char* out = buf;
        std::size_t outLeft = sizeof buf;
        std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buf, static_cast<std::size_t>(out - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or incomplete sequence: mark it and go on after one byte.
            utf8 += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return true;
}

bool EncodeCodePage(std::string_view utf8, const char* codePage, std::string& bytes) {
    bytes.clear();
    iconv_t cd = iconv_open(codePage, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(utf8);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buf[1024];
    bool whole = true;
    while (inLeft > 0) {
        char* out = buf;
        std::size_t outLeft = sizeof buf;
        const std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        bytes.append(buf, static_cast<std::size_t>(out - buf));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            whole = false;
            break;
        }
    }
    iconv_close(cd);
    if (!whole) bytes.clear();
    return whole;
}

const char* CodePageOfCharset(int fontCharset) {
    switch (fontCharset) {
    case 128: return "CP932";
    case 129: return "CP949";
    case 134: return "CP936";
    case 136: return "CP950";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 163: return "CP1258";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    default: return "CP1252";
    }
}

std::string DisplayText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    DecodeCodePage(bytes, "CP1252", out);
    return out;
}

QString DisplayQString(std::string_view bytes) {
    return QString::fromStdString(DisplayText(bytes));
}

std::string KeptTextBytes(const QString& text, std::string_view kept, std::size_t maxBytes) {
    const std::string utf8 = text.toStdString();
    std::string bytes;
    // Bytes that would read as other UTF-8 letters would show another text.
    if (!IsValidUtf8(kept) && EncodeCodePage(utf8, "CP1252", bytes) && !(bytes != utf8 && IsValidUtf8(bytes))) {
        bytes.resize(std::min(bytes.size(), maxBytes));
        return bytes;
    }
    std::size_t n = std::min(utf8.size(), maxBytes);
    // A cut inside a character takes the whole character away.
    if (n < utf8.size())
        while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
    return utf8.substr(0, n);
}
