#include "ZqPlugin.h"

#include "ZqSharedDataList.h"

const ZqRTTI ZqPlugin::m_RTTI("ZqPlugin", nullptr);

namespace {

// Reads "MAJOR" or "MAJOR.MINOR"; false for anything else.
bool ParseVersion(const char* text, unsigned long& major, unsigned long& minor) {
    if (!text) {
        return false;
    }
    auto readNumber = [&text](unsigned long& value) {
        if (*text < '0' || *text > '9') {
            return false;
        }
        value = 0;
        for (; *text >= '0' && *text <= '9'; ++text) {
            if (value > 99999999UL) {
                return false;
            }
            value = value * 10 + static_cast<unsigned long>(*text - '0');
        }
        return true;
    };
    minor = 0;
    if (!readNumber(major)) {
        return false;
    }
    if (*text == '.') {
        ++text;
        if (!readNumber(minor)) {
            return false;
        }
    }
    return *text == '\0';
}

} // namespace

ZqPlugin::ZqPlugin(const char* name, const char* version, const char* shortDescription,
                   const char* longDescription)
    : m_name(name), m_version(version), m_shortDescription(shortDescription),
      m_longDescription(longDescription) {}

ZqPlugin::~ZqPlugin() = default;

bool ZqPlugin::ShowOptionsDialog(ZqPluginInfo*, ZqWindowHandle) {
    return false;
}

void ZqPlugin::SetAbsolutePluginPath(const char* path) {
    m_absolutePluginPath = path;
}

const ZqString& ZqPlugin::GetAbsolutePluginPath() const {
    return m_absolutePluginPath;
}

bool ZqPlugin::VerifyVersionString(const char* version) const {
    unsigned long ownMajor, ownMinor, major, minor;
    if (!ParseVersion(m_version, ownMajor, ownMinor) || !ParseVersion(version, major, minor)) {
        return false;
    }
    return major == ownMajor && minor <= ownMinor;
}

ZqSharedData* ZqPlugin::GetSharedData(const ZqRTTI* rtti) {
    return ZqSharedDataList::GetInstance()->Get(rtti);
}
