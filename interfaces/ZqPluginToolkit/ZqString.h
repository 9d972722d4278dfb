#pragma once

#include "ZqApi.h"

// The toolkit's heap string. Grows by doubling, so repeated appends cost
// amortised constant time. A null text counts as the empty text throughout.
class ZQPLUGINTOOLKIT_API ZqString {
public:
    ZqString(const char* text = "");
    // An empty string with room for `capacity` characters.
    explicit ZqString(int capacity);
    ZqString(const ZqString& other);
    ZqString(ZqString&& other) noexcept;
    ZqString& operator=(const ZqString& other);
    ZqString& operator=(ZqString&& other) noexcept;
    ZqString& operator=(const char* text);
    ~ZqString();

    operator const char*() const { return m_pcBuffer; }
    unsigned Length() const { return m_uiLength; }
    unsigned Capacity() const { return m_uiCapacity; }

    ZqString& operator+=(const ZqString& text);
    ZqString& operator+=(const char* text);
    ZqString& operator+=(char c);

    // Case-sensitive comparison with a text.
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool EqualsNoCase(const char* text) const;

    // Replaces the contents with the printf-formatted arguments, kept whole
    // however long they are.
    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Plain decimal digits, with a minus sign when negative.
    static ZqString FromInt(int value);
    // Six decimals, as printf's "%f": 1.5f gives "1.500000".
    static ZqString FromFloat(float value);
    // "true" or "false".
    static ZqString FromBool(bool value);

    void Empty();
    bool IsEmpty() const {
        return m_uiLength == 0;
    }

    // Replaces every occurrence of `oldText`, left to right; an empty
    // `oldText` changes nothing.
    void Replace(const char* oldText, const char* newText);
    // Sets one character inside the string; '\0' ends the string there.
    // An index at or past the end is ignored.
    void SetAt(unsigned index, char c);
    // Index of the last `c`, or -1 when there is none.
    int FindReverse(char c) const;

private:
    void Reserve(unsigned capacity);
    void Append(const char* text, unsigned length);

    char* m_pcBuffer;
    unsigned m_uiLength;
    unsigned m_uiCapacity;
};

ZQPLUGINTOOLKIT_API ZqString operator+(const ZqString& a, const ZqString& b);
ZQPLUGINTOOLKIT_API ZqString operator+(const ZqString& a, const char* b);
ZQPLUGINTOOLKIT_API ZqString operator+(const char* a, const ZqString& b);
ZQPLUGINTOOLKIT_API ZqString operator+(const ZqString& a, char b);
