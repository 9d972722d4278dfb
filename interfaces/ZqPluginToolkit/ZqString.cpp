#include "ZqString.h"

#include "ZqStricmp.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace {
unsigned TextLength(const char* text) {
    return text ? static_cast<unsigned>(std::strlen(text)) : 0;
}
} // namespace

ZqString::ZqString(const char* text) : m_pcBuffer(nullptr), m_uiLength(0), m_uiCapacity(0) {
    unsigned length = TextLength(text);
    Reserve(length);
    Append(text, length);
}

ZqString::ZqString(int capacity) : m_pcBuffer(nullptr), m_uiLength(0), m_uiCapacity(0) {
    Reserve(capacity > 0 ? static_cast<unsigned>(capacity) : 0);
}

ZqString::ZqString(const ZqString& other) : ZqString(other.m_pcBuffer) {}

ZqString::ZqString(ZqString&& other) noexcept
    : m_pcBuffer(other.m_pcBuffer), m_uiLength(other.m_uiLength), m_uiCapacity(other.m_uiCapacity) {
    other.m_pcBuffer = nullptr;
    other.m_uiLength = 0;
    other.m_uiCapacity = 0;
    other.Reserve(0);
}

ZqString& ZqString::operator=(const ZqString& other) {
    if (this != &other) {
        *this = other.m_pcBuffer;
    }
    return *this;
}

ZqString& ZqString::operator=(ZqString&& other) noexcept {
    std::swap(m_pcBuffer, other.m_pcBuffer);
    std::swap(m_uiLength, other.m_uiLength);
    std::swap(m_uiCapacity, other.m_uiCapacity);
    return *this;
}

ZqString& ZqString::operator=(const char* text) {
    if (text == m_pcBuffer) {
        return *this;
    }
    ZqString copy(text);
    return *this = std::move(copy);
}

ZqString::~ZqString() {
    delete[] m_pcBuffer;
}

void ZqString::Reserve(unsigned capacity) {
    if (m_pcBuffer && capacity <= m_uiCapacity) {
        return;
    }
    char* buffer = new char[capacity + 1];
    if (m_pcBuffer) {
        std::memcpy(buffer, m_pcBuffer, m_uiLength);
    }
    buffer[m_uiLength] = '\0';
    delete[] m_pcBuffer;
    m_pcBuffer = buffer;
    m_uiCapacity = capacity;
}

void ZqString::Append(const char* text, unsigned length) {
    if (length == 0) {
        return;
    }
    // `text` may point into this string's own buffer, which growing frees.
    bool ownText = text >= m_pcBuffer && text <= m_pcBuffer + m_uiLength;
    size_t offset = ownText ? static_cast<size_t>(text - m_pcBuffer) : 0;
    if (m_uiLength + length > m_uiCapacity) {
        unsigned grown = m_uiCapacity * 2;
        Reserve(grown > m_uiLength + length ? grown : m_uiLength + length);
    }
    std::memmove(m_pcBuffer + m_uiLength, ownText ? m_pcBuffer + offset : text, length);
    m_uiLength += length;
    m_pcBuffer[m_uiLength] = '\0';
}

ZqString& ZqString::operator+=(const ZqString& text) {
    Append(text.m_pcBuffer, text.m_uiLength);
    return *this;
}

ZqString& ZqString::operator+=(const char* text) {
    Append(text, TextLength(text));
    return *this;
}

ZqString& ZqString::operator+=(char c) {
    if (c != '\0') {
        Append(&c, 1);
    }
    return *this;
}

bool ZqString::operator==(const char* text) const {
    return std::strcmp(m_pcBuffer, text ? text : "") == 0;
}

bool ZqString::EqualsNoCase(const char* text) const {
    return ZqStricmp(m_pcBuffer, text ? text : "") == 0;
}

void ZqString::Format(const char* format, ...) {
    if (!format) {
        Empty();
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    // Most texts fit a small stack buffer: one formatting pass, no allocation.
    // Formatting away from our own buffer also lets the arguments point into it.
    char local[512];
    int needed = std::vsnprintf(local, sizeof local, format, arguments);
    va_end(arguments);
    if (needed < 0) {
        va_end(again);
        Empty();
        return;
    }
    if (static_cast<size_t>(needed) < sizeof local) {
        va_end(again);
        m_uiLength = 0;
        Reserve(static_cast<unsigned>(needed));
        Append(local, static_cast<unsigned>(needed));
        m_pcBuffer[m_uiLength] = '\0';
        return;
    }
    ZqString result(needed);
    std::vsnprintf(result.m_pcBuffer, static_cast<size_t>(needed) + 1, format, again);
    va_end(again);
    result.m_uiLength = static_cast<unsigned>(needed);
    *this = std::move(result);
}

ZqString ZqString::FromInt(int value) {
    ZqString text(16);
    text.Format("%d", value);
    return text;
}

ZqString ZqString::FromFloat(float value) {
    ZqString text(64);
    text.Format("%f", static_cast<double>(value));
    return text;
}

ZqString ZqString::FromBool(bool value) {
    return ZqString(value ? "true" : "false");
}

void ZqString::Empty() {
    m_uiLength = 0;
    m_pcBuffer[0] = '\0';
}

void ZqString::Replace(const char* oldText, const char* newText) {
    unsigned oldLength = TextLength(oldText);
    if (oldLength == 0 || !std::strstr(m_pcBuffer, oldText)) {
        return;
    }
    unsigned newLength = TextLength(newText);
    ZqString result(static_cast<int>(m_uiLength));
    const char* rest = m_pcBuffer;
    while (const char* found = std::strstr(rest, oldText)) {
        result.Append(rest, static_cast<unsigned>(found - rest));
        result.Append(newText, newLength);
        rest = found + oldLength;
    }
    result += rest;
    *this = std::move(result);
}

void ZqString::SetAt(unsigned index, char c) {
    if (index >= m_uiLength) {
        return;
    }
    m_pcBuffer[index] = c;
    if (c == '\0') {
        m_uiLength = index;
    }
}

int ZqString::FindReverse(char c) const {
    if (c == '\0') {
        return -1;
    }
    for (unsigned i = m_uiLength; i > 0; --i) {
        if (m_pcBuffer[i - 1] == c) {
            return static_cast<int>(i - 1);
        }
    }
    return -1;
}

ZqString operator+(const ZqString& a, const ZqString& b) {
    ZqString result(static_cast<int>(a.Length() + b.Length()));
    result += a;
    result += b;
    return result;
}

ZqString operator+(const ZqString& a, const char* b) {
    ZqString result(a);
    result += b;
    return result;
}

ZqString operator+(const char* a, const ZqString& b) {
    ZqString result(a);
    result += b;
    return result;
}

ZqString operator+(const ZqString& a, char b) {
    ZqString result(a);
    result += b;
    return result;
}
