#include "platform/controlbars.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QWidgetAction>

namespace {

constexpr char kCtrlId[] = "zpCtrlId";
constexpr char kStatusBarMark[] = "zpStatusBar";

QString Latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

const char* IndicatorName(UINT id)
{
    switch (id) {
    case ID_INDICATOR_CAPS: return "CAP";
    case ID_INDICATOR_NUM: return "NUM";
    case ID_INDICATOR_SCRL: return "SCRL";
    default: return "";
    }
}

}  // namespace

int GetDlgCtrlID(const QWidget* window)
{
    return window ? window->property(kCtrlId).toInt() : 0;
}

void SetDlgCtrlID(QWidget* window, int id)
{
    window->setProperty(kCtrlId, id);
}

QWidget* FindDescendantById(QWidget* root, int id)
{
    if (!root || id == 0)
        return nullptr;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (GetDlgCtrlID(w) == id)
            return w;
    return nullptr;
}

// ---------------------------------------------------------------- status bar

CStatusBar::~CStatusBar()
{
    DestroyWindow();
}

void CStatusBar::DestroyWindow()
{
    if (m_bar) {
        if (auto* line = qobject_cast<QStatusBar*>(m_bar->parentWidget()))
            line->removeWidget(m_bar);
        delete m_bar;
    }
    m_panes.clear();
    m_ids.clear();
    for (const QPointer<QWidget>& other : m_hidden)
        if (other)
            other->show();
    m_hidden.clear();
}

bool CStatusBar::Create(QWidget* parent, bool visible, int id)
{
    if (!parent || m_bar)
        return false;
    auto* bar = new QWidget;
    bar->setProperty(kStatusBarMark, true);
    SetDlgCtrlID(bar, id);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    if (auto* main = qobject_cast<QMainWindow*>(parent)) {
        QStatusBar* line = main->statusBar();
        for (QWidget* other : line->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (other->property(kStatusBarMark).toBool() && !other->isHidden()) {
                other->hide();
                m_hidden.emplace_back(other);
            }
        line->addWidget(bar, 1);
    } else {
        bar->setParent(parent);
        bar->setGeometry(0, parent->height() - bar->sizeHint().height(), parent->width(), bar->sizeHint().height());
    }
    bar->setVisible(visible);
    m_bar = bar;
    return true;
}

bool CStatusBar::SetIndicators(std::span<const UINT> ids)
{
    if (!m_bar || ids.empty())
        return false;
    for (QLabel* pane : m_panes)
        delete pane;
    m_panes.clear();
    m_ids.assign(ids.begin(), ids.end());
    auto* layout = static_cast<QHBoxLayout*>(m_bar->layout());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(IndicatorName(ids[i])));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (ids[i] != 0)
            label->setEnabled(false);  // the key's state lights it
        layout->addWidget(label, i == 0 ? 1 : 0);
        m_panes.push_back(label);
    }
    return true;
}

QLabel* CStatusBar::Pane(int index) const
{
    return index >= 0 && index < int(m_panes.size()) ? m_panes[std::size_t(index)] : nullptr;
}

void CStatusBar::SetPaneText(int index, const std::string& text, bool now)
{
    QLabel* pane = Pane(index);
    if (!pane || (m_ids[std::size_t(index)] != 0 && text.empty()))
        return;
    pane->setText(Latin1(text));
    if (now)
        pane->repaint();
    else
        pane->update();
}

std::string CStatusBar::GetPaneText(int index) const
{
    const QLabel* pane = Pane(index);
    return pane ? pane->text().toLatin1().toStdString() : std::string();
}

void CStatusBar::SetPaneMinWidth(int index, const char* sample)
{
    if (QLabel* pane = Pane(index))
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 8);
}

// ---------------------------------------------------------------- tool bar

CToolBar::~CToolBar()
{
    DestroyWindow();
}

void CToolBar::DestroyWindow()
{
    delete m_bar;
    m_actions.clear();
    m_ids.clear();
}

bool CToolBar::Create(QWidget* parent, bool visible, int id)
{
    if (!parent || m_bar)
        return false;
    auto* bar = new QToolBar;
    SetDlgCtrlID(bar, id);
    bar->setObjectName("toolBar" + QString::number(id));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (auto* main = qobject_cast<QMainWindow*>(parent))
        main->addToolBar(Qt::TopToolBarArea, bar);
    else
        bar->setParent(parent);
    bar->setVisible(visible);
    m_bar = bar;
    return true;
}

bool CToolBar::SetButtons(std::span<const UINT> ids)
{
    if (!m_bar || ids.empty())
        return false;
    m_bar->clear();
    m_actions.clear();
    m_ids.assign(ids.begin(), ids.end());
    for (UINT id : ids) {
        if (id == 0) {
            m_actions.push_back(m_bar->addSeparator());
            continue;
        }
        QAction* action = m_bar->addAction(QString::number(id));
        action->setData(int(id));
        QObject::connect(action, &QAction::triggered, m_bar, [this, id] {
            if (m_onCommand)
                m_onCommand(int(id));
        });
        m_actions.push_back(action);
    }
    return true;
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (std::size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == id && id != 0)
            return int(i);
    return -1;
}

void CToolBar::SetButtonText(int index, const std::string& text, const std::string& tip)
{
    QAction* action = m_actions.at(std::size_t(index));
    action->setText(Latin1(text));
    action->setToolTip(Latin1(tip));
}

void CToolBar::EnableButton(int index, bool enable)
{
    m_actions.at(std::size_t(index))->setEnabled(enable);
    if (QWidget* window = ButtonWindow(index))
        window->setEnabled(enable);
}

bool CToolBar::IsButtonEnabled(int index) const
{
    return m_actions.at(std::size_t(index))->isEnabled();
}

void CToolBar::ReplaceButton(int index, QWidget* window)
{
    QAction* old = m_actions.at(std::size_t(index));
    QAction* placed = m_bar->insertWidget(old, window);
    placed->setData(old->data());
    placed->setEnabled(old->isEnabled());
    placed->setToolTip(old->toolTip());
    window->setToolTip(old->toolTip());
    m_bar->removeAction(old);
    delete old;
    m_actions[std::size_t(index)] = placed;
}

QWidget* CToolBar::ButtonWindow(int index) const
{
    QAction* action = m_actions.at(std::size_t(index));
    // A plain button has no window of its own.
    return m_bar && qobject_cast<const QWidgetAction*>(action) ? m_bar->widgetForAction(action) : nullptr;
}
