// Design-time state of the main window: captions, tooltips, grids and option groups as the
// window is laid out before its load runs.
#include "shell/main_form.h"

#include "shell/control_entry.h"

namespace kavero::shell {

frmMain::frmMain() : Form("frmMain", 10545, 5145) {
    eTabControl.captions = {"Select database to convert", "Publish converted database to", "Script output"};
    eClose.caption = "&Quit";
    eClose.toolTip = "Click here to quit application";
    eErrorcount.text = "0";
    // One design-time switch takes these five out of the user's reach; they lie over the key
    // list, so they are not shown at all. Only saved settings can set eDirectToISP.
    for (Control* off :
         {static_cast<Control*>(&eErrorcount), static_cast<Control*>(&eKeyCount), static_cast<Control*>(&eFieldCount),
          static_cast<Control*>(&eDirectToISP), static_cast<Control*>(&eProvideName)}) {
        off->visible = false;
    }

    Options.caption = "Options";
    Exitprogram.caption = "Exit program";
    eLeavePasswordOut.caption = "Leave the MySQL password out of the web pages";
    eLeavePasswordOut.checkable = true;
    ePhpPages.caption = "Write the web pages in PHP instead of ASP";
    ePhpPages.checkable = true;
    eFastCopy.caption = "Fast copy";
    eFastCopy.checkable = true;
    eLossless.caption = "Lossless script";
    eLossless.checkable = true;
    eCheckCopy.caption = "Check every record after the copy";
    eCheckCopy.checkable = true;
    eCheckCopy.checked = true;
    Help.caption = "Help";
    HelpOntheweb.caption = "Help On the web";
    Support.caption = "Support";
    ISPSupport.caption = "ISP Support";
    sep.caption = "-";
    AboutKAVERO.caption = "About KAVERO";

    eFilename.toolTip = "Here you have to select you access database";
    eGetFileName.toolTip = "Press here to search for the source database";
    eLabelTabelname.caption = "Talble list";
    eFieldListGrid.cols = 5;
    eLabelFields.caption = "Fields list";
    ekeyListGrid.cols = 5;
    eLabelKey.caption = "Key(s) in database";
    Frame1.caption = "Index/Key option";
    eAllowFieldNamesIwthSpace.caption = "Allow table and field name with space";
    eAllowFieldNamesIwthSpace.toolTip =
        "Some older older version of mySQL do not allow the (') to mark a space in a field name, check your "
        "verison of mySQL to see if your server supports this.  ";
    ECreateKey.caption = "Create Keys as keys";
    eCreateIndex.caption = "Create key as index";
    eCreateNoKeys.caption = "Create No Keys";
    for (OptionButton* option : {&ECreateKey, &eCreateIndex, &eCreateNoKeys}) option->group = kGroupKeyOption;

    Frame2.caption = "To file";
    Frame2.toolTip = "Convert your database to a SQL script, then you have to run the script via LUMO or a SQL "
                     "server client to create your table";
    Label5.caption = "Here you convert your MS-Database design to a local SQL script that you have to execute on "
                     "your mySQL server (Exp. The ODBC Demo program)";
    Label1.caption = "Choose you SQLterminator";
    eCOnvertLocal.caption = "Go";
    Frame4.caption = "Directly to local SQL server";
    Frame4.toolTip = "If you are connected to the same network as the mySQL server, you can convert the design "
                     "directly. you need to set-up as DSN on your computer to the mySQL server, and then choose "
                     "it in the drop down box.";
    Label7.caption = "If you are connected to the same network at the mySQL server and you have created a DSN "
                     "use this options";
    cboDSNList.editable = false;
    Label2.caption = "mySQL Database";
    Label3.caption = "mySQL username";
    Label4.caption = "mySQL password";
    eCopyDirectlyAlsoData.caption = "Also copy table data (Records)";
    eConvertDirectly.caption = "Go";
    Frame3.caption = "To your ISP over Http";
    Label6.caption = "Here you convert you MS-Database design, and publish it to your ISP. Note your ISP must "
                     "support KAVERO";
    eISPAlsoCopyData.caption = "Also copy table data (Records)";
    Frame5.caption = "Publish to";
    ManuelUpload.caption = "Manuel upload";
    eGetAspFile.toolTip = "Press here to search for the ASP filename";
    eDirectToISP.caption = "Direct to ISP";
    for (OptionButton* option : {&ManuelUpload, &eDirectToISP}) option->group = kGroupPublishTo;
    Label11.caption = "ISP mySQL server addr.";
    Label10.caption = "ISP mySQL Database";
    Label9.caption = "ISP mySQL username";
    Label8.caption = "ISP mySql password";
    ePublishToISP.caption = "Go";
    LabelRecordsPerPage.caption = "Records per copy page";
    eRecordsPerPage.text = "5";

    eScriptOutPut.multiLine = true;
    eSaveScript.caption = "Save &as\u2026";
    eSaveScript.toolTip = "Write the script shown here to a file";
}

std::vector<ControlEntry> frmMain::controls() {
    return {
        KAVERO_CONTROL(eTabControl),
        KAVERO_CONTROL(eClose),
        KAVERO_CONTROL(eErrorcount),
        KAVERO_CONTROL(eKeyCount),
        KAVERO_CONTROL(eFieldCount),
        KAVERO_CONTROL(dlgCommonDialog),
        KAVERO_CONTROL(imgListDesign),
        KAVERO_CONTROL(Options),
        KAVERO_CONTROL(Exitprogram),
        KAVERO_CONTROL(eLeavePasswordOut),
        KAVERO_CONTROL(ePhpPages),
        KAVERO_CONTROL(eFastCopy),
        KAVERO_CONTROL(eLossless),
        KAVERO_CONTROL(eCheckCopy),
        KAVERO_CONTROL(Help),
        KAVERO_CONTROL(HelpOntheweb),
        KAVERO_CONTROL(Support),
        KAVERO_CONTROL(ISPSupport),
        KAVERO_CONTROL(sep),
        KAVERO_CONTROL(AboutKAVERO),
        KAVERO_CONTROL(eFilename),
        KAVERO_CONTROL(eGetFileName),
        KAVERO_CONTROL(eTables),
        KAVERO_CONTROL(eLabelTabelname),
        KAVERO_CONTROL(eFieldListGrid),
        KAVERO_CONTROL(eLabelFields),
        KAVERO_CONTROL(ekeyListGrid),
        KAVERO_CONTROL(eLabelKey),
        KAVERO_CONTROL(Frame1),
        KAVERO_CONTROL(eAllowFieldNamesIwthSpace),
        KAVERO_CONTROL(ECreateKey),
        KAVERO_CONTROL(eCreateIndex),
        KAVERO_CONTROL(eCreateNoKeys),
        KAVERO_CONTROL(Image8),
        KAVERO_CONTROL(Image1),
        KAVERO_CONTROL(Image3),
        KAVERO_CONTROL(Image22),
        KAVERO_CONTROL(Frame2),
        KAVERO_CONTROL(Label5),
        KAVERO_CONTROL(eSQLTerminator),
        KAVERO_CONTROL(Label1),
        KAVERO_CONTROL(eCOnvertLocal),
        KAVERO_CONTROL(Frame4),
        KAVERO_CONTROL(Label7),
        KAVERO_CONTROL(cboDSNList),
        KAVERO_CONTROL(eMySqlDatabase),
        KAVERO_CONTROL(Label2),
        KAVERO_CONTROL(eMySqlusername),
        KAVERO_CONTROL(Label3),
        KAVERO_CONTROL(eMySqlpassword),
        KAVERO_CONTROL(Label4),
        KAVERO_CONTROL(eCopyDirectlyAlsoData),
        KAVERO_CONTROL(eConvertDirectly),
        KAVERO_CONTROL(Frame3),
        KAVERO_CONTROL(Label6),
        KAVERO_CONTROL(eISPAlsoCopyData),
        KAVERO_CONTROL(Frame5),
        KAVERO_CONTROL(ManuelUpload),
        KAVERO_CONTROL(eSourceDest),
        KAVERO_CONTROL(eGetAspFile),
        KAVERO_CONTROL(eDirectToISP),
        KAVERO_CONTROL(eProvideName),
        KAVERO_CONTROL(eMySqlserveraddressISP),
        KAVERO_CONTROL(Label11),
        KAVERO_CONTROL(eMySqlDatabaseISP),
        KAVERO_CONTROL(Label10),
        KAVERO_CONTROL(eMySqlusernameISP),
        KAVERO_CONTROL(Label9),
        KAVERO_CONTROL(eMySqlpasswordISP),
        KAVERO_CONTROL(Label8),
        KAVERO_CONTROL(ePublishToISP),
        KAVERO_CONTROL(eRecordsPerPage),
        KAVERO_CONTROL(LabelRecordsPerPage),
        KAVERO_CONTROL(eScriptOutPut),
        KAVERO_CONTROL(eSaveScript),
    };
}

} // namespace kavero::shell
