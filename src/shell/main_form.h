// The main window: every control the commands read and write, named as on screen.
#pragma once

#include "shell/form.h"
#include "shell/table_design.h"

namespace kavero::shell {

// Tab pages of eTabControl.
inline constexpr int kTabSelectDatabase = 0;
inline constexpr int kTabPublish = 1;
inline constexpr int kTabScriptOutput = 2;

// Exclusive option groups.
inline constexpr int kGroupKeyOption = 1;
inline constexpr int kGroupPublishTo = 2;

struct frmMain : Form {
    frmMain();

    TabControl eTabControl;
    CommandButton eClose;
    TextBox eErrorcount;
    TextBox eKeyCount;
    TextBox eFieldCount;
    CommonDialog dlgCommonDialog;
    ImageList imgListDesign;

    // Menu bar.
    Menu Options;
    Menu Exitprogram;
    Menu eLeavePasswordOut; // the web-host pages ask for the MySQL password instead of holding it
    Menu ePhpPages;         // the web-host pages are written in PHP instead of ASP
    Menu eFastCopy;         // the direct copy sends many records to a statement (odbc/fast_copy.h)
    Menu eLossless;         // the script and the copy keep every value (see source/column_rule.h)
    Menu eCheckCopy;        // the direct copy reads the table back and compares it (odbc/check_records.h)
    Menu Help;
    Menu HelpOntheweb;
    Menu Support;
    Menu ISPSupport;
    Menu sep;
    Menu AboutKAVERO;

    // Tab page 0, "Select database to convert".
    TextBox eFilename;
    CommandButton eGetFileName;
    ListBox eTables;
    Label eLabelTabelname;
    Grid eFieldListGrid;
    Label eLabelFields;
    Grid ekeyListGrid;
    Label eLabelKey;
    Frame Frame1;
    CheckBox eAllowFieldNamesIwthSpace;
    OptionButton ECreateKey;
    OptionButton eCreateIndex;
    OptionButton eCreateNoKeys;
    Image Image8;
    Image Image1;
    Image Image3;
    Image Image22;

    // Tab page 1, "Publish converted database to".
    Frame Frame2;
    Label Label5;
    ComboBox eSQLTerminator;
    Label Label1;
    CommandButton eCOnvertLocal;
    Frame Frame4;
    Label Label7;
    ComboBox cboDSNList;
    TextBox eMySqlDatabase;
    Label Label2;
    TextBox eMySqlusername;
    Label Label3;
    TextBox eMySqlpassword;
    Label Label4;
    CheckBox eCopyDirectlyAlsoData;
    CommandButton eConvertDirectly;
    Frame Frame3;
    Label Label6;
    CheckBox eISPAlsoCopyData;
    Frame Frame5;
    OptionButton ManuelUpload;
    TextBox eSourceDest;
    CommandButton eGetAspFile;
    OptionButton eDirectToISP;
    ComboBox eProvideName;
    TextBox eMySqlserveraddressISP;
    Label Label11;
    TextBox eMySqlDatabaseISP;
    Label Label10;
    TextBox eMySqlusernameISP;
    Label Label9;
    TextBox eMySqlpasswordISP;
    Label Label8;
    CommandButton ePublishToISP;
    TextBox eRecordsPerPage; // records on one copy page of the web-host pages
    Label LabelRecordsPerPage;

    // Tab page 2, "Script output".
    TextBox eScriptOutPut;
    CommandButton eSaveScript; // writes the script box's text to a file

    // The picked table's design, which eFieldListGrid and ekeyListGrid show; empty when no
    // design is loaded.
    TableDesign design;

    std::vector<ControlEntry> controls() override;
};

} // namespace kavero::shell
