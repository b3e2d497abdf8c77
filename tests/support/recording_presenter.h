#pragma once

#include "zarn/message_presenter.h"

#include <string>
#include <vector>

namespace zarn::testing {

// Keeps every message it is given, in order, instead of showing it.
class RecordingPresenter : public MessagePresenter
{
public:
    void showMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

} // namespace zarn::testing
