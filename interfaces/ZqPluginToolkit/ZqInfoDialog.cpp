#include "ZqInfoDialog.h"

#include "ZqPlatform.h"

#include <utility>

ZqInfoDialog::ZqInfoDialog(ZqString title) : m_title(std::move(title)) {}

void ZqInfoDialog::SetText(const char* text, bool) {
    m_text = text;
}

int ZqInfoDialog::DoModal() {
    return ZqPlatform::ShowInfoDialog(m_title, m_text);
}
