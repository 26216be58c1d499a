// The About window: product name, version, description and the maker's links.
#pragma once

#include "shell/form.h"

namespace kavero::shell {

struct frmAbout : Form {
    frmAbout();

    PictureBox Picture1;
    Label lblTitle;
    Label lblVersion;
    Label lblDescription;
    Label Label2;
    Label Label1;
    Line Line1;
    CommandButton cmdOK;
    CommandButton cmdSysInfo;

    std::vector<ControlEntry> controls() override;
};

} // namespace kavero::shell
