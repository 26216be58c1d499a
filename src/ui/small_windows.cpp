// Splash and About windows.
#include "ui/small_windows.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdlib>
#include <utility>

#include "app/small_windows.h"
#include "ui/widgets.h"

namespace kavero::ui {

namespace {

constexpr int kTwipsPerPixel = 15;

QLabel* scaled(QLabel* label, double factor, bool bold) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

SplashWindow::SplashWindow(shell::frmSplash& model, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_model(model), m_binding(model, *this) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowIcon(productIcon());
    setFixedSize(m_model.width / kTwipsPerPixel, m_model.height / kTwipsPerPixel);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    auto* frame = named<QGroupBox>("fraMainFrame");
    outer->addWidget(frame);

    auto* layout = new QGridLayout(frame);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setHorizontalSpacing(18);
    auto* logo = named<QLabel>("picLogo");
    logo->setPixmap(productLogo(128));
    logo->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(logo, 0, 0, 3, 1);
    auto* product = scaled(named<QLabel>("lblProductName"), 1.8, true);
    product->setWordWrap(true);
    layout->addWidget(product, 0, 1);
    auto* platform = named<QLabel>("lblPlatform");
    platform->setWordWrap(true);
    layout->addWidget(platform, 1, 1, Qt::AlignTop);
    layout->addWidget(scaled(named<QLabel>("lblVersion"), 1.2, true), 2, 1, Qt::AlignBottom | Qt::AlignRight);
    layout->addWidget(named<QLabel>("lblCopyright"), 3, 0, 1, 2, Qt::AlignBottom | Qt::AlignLeft);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);
    m_binding.push();

    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

AboutWindow::AboutWindow(shell::frmAbout& model, shell::UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(ui), m_binding(model, *this) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(productIcon());
    app::loadAbout(m_model);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setHorizontalSpacing(14);
    auto* picture = named<QLabel>("Picture1");
    picture->setPixmap(productLogo(64));
    picture->setAlignment(Qt::AlignTop);
    layout->addWidget(picture, 0, 0, 3, 1);
    layout->addWidget(scaled(named<QLabel>("lblTitle"), 1.6, true), 0, 1);
    layout->addWidget(named<QLabel>("lblVersion"), 1, 1);
    auto* description = named<QLabel>("lblDescription");
    description->setWordWrap(true);
    layout->addWidget(description, 2, 1);
    auto* line = named<QFrame>("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line, 3, 0, 1, 2);
    auto* copyright = named<QLabel>("Label2");
    copyright->setWordWrap(true);
    layout->addWidget(copyright, 4, 0, 1, 2);
    auto* web = named<QLabel>("Label1");
    web->setTextFormat(Qt::PlainText);
    web->setCursor(Qt::PointingHandCursor);
    web->setFocusPolicy(Qt::TabFocus);
    web->setToolTip(QStringLiteral("Open in the browser"));
    web->setStyleSheet(QStringLiteral("QLabel { color: palette(link); text-decoration: underline;"
                                      " border: 1px dotted transparent; }"
                                      " QLabel:focus { border-color: palette(link); }"));
    web->installEventFilter(this);
    m_webAddress = web;
    layout->addWidget(web, 5, 0, 1, 2, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* sysInfo = named<QPushButton>("cmdSysInfo");
    sysInfo->setAutoDefault(false);
    buttons->addWidget(sysInfo);
    auto* ok = named<QPushButton>("cmdOK");
    ok->setDefault(true); // Enter presses it; Escape closes the dialog the same way
    buttons->addWidget(ok);
    layout->addLayout(buttons, 6, 0, 1, 2);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, [this] {
        const char* path = std::getenv("PATH");
        app::startSysInfo(m_ui, path ? path : "");
    });
    m_binding.push();
    setFixedSize(m_model.width / kTwipsPerPixel, m_model.height / kTwipsPerPixel);
    ok->setFocus(); // Enter closes the window, not opens the link before it in the tab order
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_webAddress) return QDialog::eventFilter(watched, event);
    bool open = false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        m_skipRelease = true;
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        open = !std::exchange(m_skipRelease, false) &&
               m_webAddress->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!open) return true;
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        open = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        break;
    }
    default:
        break;
    }
    if (!open) return QDialog::eventFilter(watched, event);
    app::webAddressClick(m_model, m_ui);
    return true;
}

} // namespace kavero::ui
