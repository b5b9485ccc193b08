#include "ui/pages/ComTab.h"

#include "ui/TBMWpanel.h"
#include "ui/pages/PageBuilder.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <limits>

namespace zarn {

namespace {
const QString Hint = QStringLiteral("Only change this if you know what you are doing !");
constexpr int LineLengthStep = 16;
} // namespace

ComTab::ComTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabCOM"));
    using namespace PageBuilder;

    auto* fields = new QWidget(this);
    fields->setObjectName(QStringLiteral("ComFields"));
    fields->setGeometry(8, 8, 380, 190);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);

    grid->addWidget(new QLabel(QStringLiteral("COM Port selection"), fields), 0, 0);
    port_ = new QComboBox(fields);
    port_->setObjectName(QStringLiteral("CBPort"));
    for (int i = 1; i <= 9; ++i)
        port_->addItem(QStringLiteral("COM%1").arg(i));
    grid->addWidget(port_, 0, 1);

    grid->addWidget(new QLabel(QStringLiteral("Serial device"), fields), 3, 0);
    device_ = new QComboBox(fields);
    device_->setObjectName(QStringLiteral("DevicePath"));
    device_->setEditable(true);
    device_->setInsertPolicy(QComboBox::NoInsert);
    device_->setFocusPolicy(Qt::ClickFocus);
    device_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    device_->setMinimumContentsLength(12);
    device_->setToolTip(QStringLiteral("Empty: the COM port selection (COM1 is /dev/ttyS0). Takes effect with \"Restart COM port\"."));
    grid->addWidget(device_, 3, 1);
    refreshDevices();

    // The spin edits have no limits of their own; the ranges are those of the port's fields.
    grid->addWidget(new QLabel(QStringLiteral("RXExtraDelayTime [ms]"), fields), 1, 0);
    extraDelay_ = new QSpinBox(fields);
    extraDelay_->setObjectName(QStringLiteral("SpinEdit1"));
    extraDelay_->setRange(0, std::numeric_limits<quint16>::max());
    extraDelay_->setValue(50);
    extraDelay_->setToolTip(Hint);
    grid->addWidget(extraDelay_, 1, 1);

    grid->addWidget(new QLabel(QStringLiteral("RXDelayTime [microsecs]"), fields), 2, 0);
    charDelay_ = new QSpinBox(fields);
    charDelay_->setObjectName(QStringLiteral("SpinEdit2"));
    charDelay_->setRange(0, std::numeric_limits<int>::max());
    charDelay_->setValue(1100);
    charDelay_->setToolTip(Hint);
    grid->addWidget(charDelay_, 2, 1);

    auto* restart = item(this, QStringLiteral("BMWpanel66"), QStringLiteral("Restart COM port"), QRect(8, 206, 380, 55),
                         false, actionFont());
    restart->setBMW_llf1(4);

    panel23_ = new QWidget(this);
    panel23_->setObjectName(QStringLiteral("Panel23"));
    panel23_->setGeometry(400, 8, 370, 130);
    auto* title = new QLabel(QStringLiteral("Set line length of IBUS buffer (test only)"), panel23_);
    title->setGeometry(8, 4, 354, 24);
    auto* left = item(panel23_, QStringLiteral("BMWpanel64"), QString(QChar(0xD9)), QRect(8, 36, 110, 55), false,
                      pixelFont(QStringLiteral("Wingdings 3"), 40));
    auto* right = item(panel23_, QStringLiteral("BMWpanel65"), QString(QChar(0xDA)), QRect(252, 36, 110, 55), true,
                       pixelFont(QStringLiteral("Wingdings 3"), 40));
    label6_ = new QLabel(QStringLiteral("256"), panel23_);
    label6_->setObjectName(QStringLiteral("Label6"));
    label6_->setGeometry(126, 36, 118, 55);
    label6_->setAlignment(Qt::AlignCenter);
    label6_->setFont(pixelFont(QStringLiteral("Arial"), 32, true));

    lineLength_ = new QScrollBar(Qt::Horizontal, panel23_);
    lineLength_->setObjectName(QStringLiteral("ScrollBar2"));
    lineLength_->setRange(64, 512);
    lineLength_->setValue(256);
    lineLength_->hide();

    connect(port_, &QComboBox::currentIndexChanged, this, &ComTab::portIndexChanged);
    connect(extraDelay_, &QSpinBox::valueChanged, this, &ComTab::rxExtraDelayChanged);
    connect(charDelay_, &QSpinBox::valueChanged, this, &ComTab::rxCharDelayChanged);
    connect(restart, &TBMWpanel::clicked, this, &ComTab::restartPortRequested);
    connect(left, &TBMWpanel::clicked, this, [this] { lineLength_->setValue(lineLength_->value() - LineLengthStep); });
    connect(right, &TBMWpanel::clicked, this, [this] { lineLength_->setValue(lineLength_->value() + LineLengthStep); });
    connect(lineLength_, &QScrollBar::valueChanged, this, [this](int v) {
        label6_->setText(QString::number(v));
        emit hexLineLengthChanged(v);
    });
}

QString ComTab::devicePath() const
{
    return device_->currentText().trimmed();
}

void ComTab::setDevicePath(const QString& path)
{
    device_->setEditText(path);
}

QStringList ComTab::serialDevices(const QString& devRoot)
{
    // ttyUSB2 before ttyUSB10: the trailing number compares as a number.
    const auto split = [](const QString& name) {
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1].isDigit())
            --digits;
        return std::pair(name.left(digits), name.mid(digits).toULongLong());
    };
    const auto sorted = [&split](QStringList names) {
        std::sort(names.begin(), names.end(), [&split](const QString& a, const QString& b) { return split(a) < split(b); });
        return names;
    };
    const QDir dev(devRoot);
    QStringList devices;
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& name : sorted(byId.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)))
        devices << byId.filePath(name);
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"})
        for (const QString& name : sorted(dev.entryList({QLatin1String(pattern)}, QDir::AllEntries | QDir::System)))
            devices << dev.filePath(name);
    return devices;
}

void ComTab::setDeviceRoot(const QString& devRoot)
{
    deviceRoot_ = devRoot;
    refreshDevices();
}

void ComTab::refreshDevices()
{
    const QString text = device_->currentText();
    device_->clear();
    device_->addItems(serialDevices(deviceRoot_));
    device_->setEditText(text);
}

// A USB interface plugged in while the program runs is offered when the tab is opened.
void ComTab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshDevices();
}

} // namespace zarn
