#include "message_box_presenter.h"

#include "wide_text.h"
#include "zarn/form/texts.h"

namespace zarn::win32 {

void MessageBoxPresenter::showMessage(const std::string& text)
{
    MessageBoxW(m_owner, toWide(text).c_str(), toWide(form::texts::programTitle).c_str(), MB_OK);
}

} // namespace zarn::win32
