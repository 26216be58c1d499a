// The splash window shown while the program starts.
#pragma once

#include "shell/form.h"

namespace kavero::shell {

struct frmSplash : Form {
    frmSplash();

    Frame fraMainFrame;
    PictureBox picLogo;
    Label lblProductName;
    Label lblPlatform;
    Label lblVersion;
    Label lblCopyright;

    std::vector<ControlEntry> controls() override;
};

} // namespace kavero::shell
