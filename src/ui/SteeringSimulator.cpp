#include "ui/SteeringSimulator.h"

#include "ui/FocusNavigator.h"
#include "ui/SelectActions.h"
#include "ui/ZarnWindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include <cmath>

namespace zarn {

namespace {

const std::array<SteeringSimulator::TestInput, 7> Inputs{{
    {"Panel48", "MENU", " F0 04 FF 48 34 77"},
    {"Panel49", "R/N", " F0 04 68 48 30 E4"},
    {"Panel65", "Tone", " F0 04 68 48 04 D0"},
    {"Panel66", "MODE", " F0 04 68 48 23 F7"},
    {"Panel69", "FM", " F0 04 68 48 31 E5"},
    {"Panel78", "AM", " F0 04 68 48 21 F5"},
    {"Panel79", "Tape sim", " 68 0D 3B A5 62 01 45 44 6F 6C 62 79 20 42 E3"},
}};

// The knob picture: a round face whose mark turns with the position 0 .. 10.
class KnobPicture : public QWidget {
public:
    explicit KnobPicture(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("mKnob2"));
        setAttribute(Qt::WA_TransparentForMouseEvents); // drags the panel like its background
    }
    int position = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF face = QRectF(rect()).adjusted(2, 2, -2, -2);
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(0x50, 0x50, 0x50));
        p.drawEllipse(face);
        // 11 positions over 300 degrees, 0 at the lower left.
        const double angle = (240.0 - position * 30.0) * M_PI / 180.0;
        const QPointF c = face.center();
        const double r = face.width() * 0.35;
        p.setBrush(QColor(0xFF, 0x80, 0x00));
        p.drawEllipse(QPointF(c.x() + r * std::cos(angle), c.y() - r * std::sin(angle)), 4, 4);
    }
};

const char* const PresetNames[6] = {"zahlbutton1", "Button4", "Button10", "Button5", "Button3", "Button6"};

} // namespace

const std::array<SteeringSimulator::TestInput, 7>& SteeringSimulator::testInputs()
{
    return Inputs;
}

SteeringSimulatorActions steeringActions(FocusNavigator& navigator, SelectActions& select,
                                         std::function<void(const QString&)> processIbusText,
                                         std::function<void()> end)
{
    SteeringSimulatorActions a;
    a.knobPress = [&select] { select.SelButton1Click(); };
    a.longKnobPress = [&select] { select.longClick(); };
    a.turnLeft = [&navigator] { navigator.TurnbottonleftClick(); };
    a.turnRight = [&navigator] { navigator.TurnbottonrightClick(); };
    a.steerUp = [&select] { select.SteerUPClick(); };
    a.steerDown = [&select] { select.SelButton8Click(); };
    a.longUp = [&select] { select.LongclicksteerUPClick(); };
    a.longDown = [&select] { select.LongclicksteerDOWNClick(); };
    a.radioTel = [&select] { select.SelButton7Click(); };
    for (int i = 0; i < 6; ++i)
        a.presets[i] = [&select, i] { select.preset(i + 1); };
    a.end = std::move(end);
    a.processIbusText = std::move(processIbusText);
    return a;
}

SteeringSimulator* buildSteeringSimulator(QWidget* panel)
{
    if (!panel)
        return nullptr;
    // A second call hands back the panel's simulator rather than stacking another.
    if (auto* built = panel->findChild<SteeringSimulator*>(QStringLiteral("SteeringSimulator"), Qt::FindDirectChildrenOnly))
        return built;
    return new SteeringSimulator(panel);
}

SteeringSimulator::SteeringSimulator(QWidget* panel)
    : QObject(panel)
    , panel_(panel)
{
    setObjectName(QStringLiteral("SteeringSimulator"));
    build();
    panel_->installEventFilter(this);
}

void SteeringSimulator::addButton(const QString& name, const QString& caption, const QRect& geometry,
                                  std::function<void()> run)
{
    auto* b = new QPushButton(caption, panel_);
    b->setObjectName(name);
    b->setGeometry(geometry);
    // The simulator never takes the focus from the page it works on.
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [run = std::move(run)] { run(); });
}

void SteeringSimulator::addLabel(const QString& name, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, panel_);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setWordWrap(true);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SteeringSimulator::build()
{
    const auto act = [this](std::function<void()> SteeringSimulatorActions::*member) {
        return [this, member] {
            if (actions_.*member)
                (actions_.*member)();
        };
    };
    using A = SteeringSimulatorActions;

    panel_->resize(340, 330);
    panel_->setAutoFillBackground(true);

    addLabel(QStringLiteral("Label1"), QStringLiteral("Mousewheel to TURN, click on button to simulate PUSH"),
             QRect(8, 4, 290, 32));
    addButton(QStringLiteral("DsFancyButton1"), QStringLiteral("X"), QRect(308, 4, 26, 24),
              [this] { DsFancyButton1Click(); });

    // The monitor's knob.
    addButton(QStringLiteral("Turnbottonleft"), QStringLiteral("<"), QRect(8, 58, 28, 28), act(&A::turnLeft));
    auto* knob = new KnobPicture(panel_);
    knob->setGeometry(40, 42, 60, 60);
    knob_ = knob;
    addButton(QStringLiteral("Turnbottonright"), QStringLiteral(">"), QRect(104, 58, 28, 28), act(&A::turnRight));
    addButton(QStringLiteral("selbutton1"), QStringLiteral("SHORT"), QRect(8, 108, 60, 26), act(&A::knobPress));
    addButton(QStringLiteral("longClickButton"), QStringLiteral("LONG!"), QRect(72, 108, 60, 26),
              act(&A::longKnobPress));
    addButton(QStringLiteral("selPanel"), QStringLiteral("SEL"), QRect(40, 138, 60, 22), [] {});

    // The steering wheel.
    addButton(QStringLiteral("SteerUP"), QStringLiteral("up"), QRect(190, 42, 50, 26), act(&A::steerUp));
    addButton(QStringLiteral("LongclicksteerUP"), QStringLiteral("L"), QRect(244, 42, 26, 26), act(&A::longUp));
    addButton(QStringLiteral("SelButton8"), QStringLiteral("dn"), QRect(190, 72, 50, 26), act(&A::steerDown));
    addButton(QStringLiteral("LongclicksteerDOWN"), QStringLiteral("L"), QRect(244, 72, 26, 26), act(&A::longDown));
    addButton(QStringLiteral("SelButton7"), QStringLiteral("r/t"), QRect(190, 102, 80, 26), act(&A::radioTel));
    addLabel(QStringLiteral("Label3"), QStringLiteral("Steering wheel works only in TELEPHONE MODE !"),
             QRect(176, 130, 160, 32));

    // The radio.
    for (int i = 0; i < 6; ++i)
        addButton(QLatin1String(PresetNames[i]), QStringLiteral("&") + QString::number(i + 1),
                  QRect(8 + i * 54, 168, 50, 26), [this, i] {
                      if (actions_.presets[i])
                          actions_.presets[i]();
                  });
    for (int i = 0; i < int(Inputs.size()); ++i) {
        const TestInput& in = Inputs[i];
        const QRect where = i < 4 ? QRect(8 + i * 81, 200, 77, 26) : QRect(8 + (i - 4) * 81, 230, 77, 26);
        addButton(QLatin1String(in.control), QLatin1String(in.caption), where, [this, text = QLatin1String(in.text)] {
            if (actions_.processIbusText)
                actions_.processIbusText(text);
        });
    }
    addButton(QStringLiteral("endButton"), QStringLiteral("end"), QRect(251, 230, 77, 26), act(&A::end));
    addLabel(QStringLiteral("Label5"), QStringLiteral("R/N is the one that switches between Radio and Nav"),
             QRect(8, 262, 324, 20));
    addLabel(QStringLiteral("Label6"), QStringLiteral("move me around...."), QRect(8, 290, 200, 20));
}

void SteeringSimulator::follow(FocusNavigator& navigator)
{
    setKnobPosition(navigator.knobPosition());
    connect(&navigator, &FocusNavigator::knobPositionChanged, this, &SteeringSimulator::setKnobPosition);
}

void SteeringSimulator::setKnobPosition(int position)
{
    auto* knob = static_cast<KnobPicture*>(knob_);
    if (knob->position != position) {
        knob->position = position;
        knob->update();
    }
}

int SteeringSimulator::knobPosition() const
{
    return static_cast<const KnobPicture*>(knob_)->position;
}

void SteeringSimulator::attachHeader(ZarnWindow& window)
{
    connect(&window, &ZarnWindow::headerClicked, this, &SteeringSimulator::HeaderPanelClick);
    connect(&window, &ZarnWindow::headerDoubleClicked, this, &SteeringSimulator::HeaderPanelDblClick);
}

void SteeringSimulator::HeaderPanelClick()
{
    panel_->show();
    panel_->raise();
}

void SteeringSimulator::HeaderPanelDblClick()
{
    if (busActivity_)
        busActivity_();
}

void SteeringSimulator::DsFancyButton1Click()
{
    panel_->hide();
}

bool SteeringSimulator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != panel_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        dragging_ = false;
        panel_->hide();
        if (QWidget* top = panel_->window(); top != panel_)
            top->update();
        return true;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        dragging_ = true;
        dragOffset_ = e->position().toPoint();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!dragging_ || !(e->buttons() & Qt::LeftButton))
            return false;
        panel_->move(panel_->mapToParent(e->position().toPoint()) - dragOffset_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return false;
    default:
        return false;
    }
}

} // namespace zarn
