#pragma once

#include "ZqString.h"

// A modal window that shows a text under a title.
class ZQPLUGINTOOLKIT_API ZqInfoDialog {
public:
    explicit ZqInfoDialog(ZqString title);

    // `flag` is kept for callers that pass it; the text is shown as given.
    void SetText(const char* text, bool flag);
    // Shows the window and returns once the user has closed it.
    int DoModal();

private:
    ZqString m_title;
    ZqString m_text;
};
