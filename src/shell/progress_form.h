// The progress window that the record copy fills with status lines.
#pragma once

#include "shell/form.h"

namespace kavero::shell {

struct frmShowProgress : Form {
    frmShowProgress();

    PictureBox Picture1;
    TextBox eShowStatus;
    ProgressBar eProgressBar;
    CommandButton eOk;

    std::vector<ControlEntry> controls() override;
};

} // namespace kavero::shell
