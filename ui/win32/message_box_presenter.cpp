#include "message_box_presenter.h"

#include "zarn/form/texts.h"
#include "zarn/utf8_path.h"

namespace zarn::win32 {

void MessageBoxPresenter::showMessage(const std::string& text)
{
    MessageBoxW(m_owner, utf16FromUtf8(text).c_str(),
                utf16FromUtf8(form::texts::programTitle).c_str(), MB_OK);
}

} // namespace zarn::win32
