#pragma once

#include "ZqRTTI.h"
#include "ZqRefObject.h"
#include "ZqString.h"

#include <utility>
#include <vector>

// One step of a script: which plug-in it names (name, version, class name,
// type text) and its string parameters, in the order they were added.
class ZQPLUGINTOOLKIT_API ZqPluginInfo : public ZqRefObject {
public:
    static const ZqRTTI m_RTTI;

    ZqPluginInfo();
    ~ZqPluginInfo() override;

    virtual const ZqRTTI* GetRTTI() const { return &m_RTTI; }
    // A new info of the same class with the same contents, owned by the caller.
    virtual ZqPluginInfo* Clone() const;
    // Same class and same contents.
    virtual bool Equals(const ZqPluginInfo* other) const;
    virtual bool IsDirty() const { return m_bDirty; }
    virtual void MarkAsDirty(bool dirty) { m_bDirty = dirty; }

    void SetName(const char* name);
    void SetVersion(const char* version);
    void SetClassName(const char* className);
    void SetType(const char* type);
    const ZqString& GetName() const { return m_name; }
    const ZqString& GetVersion() const { return m_version; }
    const ZqString& GetClassName() const { return m_className; }
    const ZqString& GetType() const { return m_type; }

    void AddParameter(const char* key, const char* value);
    // Sets the `index`-th parameter named `key` (counting from 0) to "TRUE" or
    // "FALSE"; when there are not that many, appends one. Always true.
    bool SetBool(const char* key, bool value, unsigned index);

    unsigned GetParameterCount() const { return static_cast<unsigned>(m_parameters.size()); }
    const char* GetKeyAt(unsigned index) const;
    const char* GetValueAt(unsigned index) const;
    // The first value under `key`, or null.
    const char* GetValue(const char* key) const;

protected:
    void CopyInto(ZqPluginInfo& copy) const;

private:
    ZqString m_name;
    ZqString m_version;
    ZqString m_className;
    ZqString m_type;
    std::vector<std::pair<ZqString, ZqString>> m_parameters;
    bool m_bDirty = false;
};
