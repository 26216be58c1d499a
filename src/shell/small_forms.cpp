// Design-time state and control tables of the progress, About and splash windows.
#include "shell/about_form.h"
#include "shell/control_entry.h"
#include "shell/progress_form.h"
#include "shell/splash_form.h"

namespace kavero::shell {

frmShowProgress::frmShowProgress() : Form("frmShowProgress", 3975, 2925) {
    eOk.caption = "Ok";
}

std::vector<ControlEntry> frmShowProgress::controls() {
    return {KAVERO_CONTROL(Picture1), KAVERO_CONTROL(eShowStatus), KAVERO_CONTROL(eProgressBar), KAVERO_CONTROL(eRate),
            KAVERO_CONTROL(eOk)};
}

frmAbout::frmAbout() : Form("frmAbout", 5730, 3795) {
    cmdOK.caption = "OK";
    cmdSysInfo.caption = "&System Info...";
}

std::vector<ControlEntry> frmAbout::controls() {
    return {KAVERO_CONTROL(Picture1),       KAVERO_CONTROL(lblTitle), KAVERO_CONTROL(lblVersion),
            KAVERO_CONTROL(lblDescription), KAVERO_CONTROL(Label2),   KAVERO_CONTROL(Label1),
            KAVERO_CONTROL(Line1),          KAVERO_CONTROL(cmdOK),    KAVERO_CONTROL(cmdSysInfo)};
}

frmSplash::frmSplash() : Form("frmSplash", 6810, 4875) {
    lblProductName.caption = "KAVERO converter for mySQL";
}

std::vector<ControlEntry> frmSplash::controls() {
    return {KAVERO_CONTROL(fraMainFrame), KAVERO_CONTROL(picLogo),    KAVERO_CONTROL(lblProductName),
            KAVERO_CONTROL(lblPlatform),  KAVERO_CONTROL(lblVersion), KAVERO_CONTROL(lblCopyright)};
}

} // namespace kavero::shell
