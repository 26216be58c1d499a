// The progress window that the record copy fills with status lines, newest first, while its
// bar shows how far the copy has come.
#pragma once

#include "shell/form.h"

namespace kavero::shell {

struct frmShowProgress : Form {
    frmShowProgress();

    PictureBox Picture1;
    StatusBox eShowStatus;
    ProgressBar eProgressBar;
    Label eRate; // below the bar: records done of total, records per second, time left
    CommandButton eOk;

    std::vector<ControlEntry> controls() override;
};

} // namespace kavero::shell
