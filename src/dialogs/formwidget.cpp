#include "dialogs/formwidget.h"

#include "dialogs/dlgform.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Q(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

std::string S(const QString& s)
{
    return s.toLatin1().toStdString();
}

// A text row's picture, or its text when it has none.
void ShowText(QLabel& label, const FormField& f)
{
    if (f.picture.isNull())
        label.setText(Q(f.text));
    else
        label.setPixmap(QPixmap::fromImage(f.picture));
}

// Widgets back into the form.
void Pull(Form& form, const std::vector<QWidget*>& widgets)
{
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        FormField& f = form.fields[i];
        if (f.kind == FieldKind::Edit)
            f.text = S(static_cast<QLineEdit*>(widgets[i])->text());
        else if (f.kind == FieldKind::Check)
            f.checked = static_cast<QCheckBox*>(widgets[i])->isChecked();
        else if (f.kind == FieldKind::List)
            f.index = static_cast<QListWidget*>(widgets[i])->currentRow();
    }
}

// The form into the widgets (after a button's action changed it).
void Push(const Form& form, const std::vector<QWidget*>& widgets)
{
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        const FormField& f = form.fields[i];
        switch (f.kind) {
        case FieldKind::Text: ShowText(*static_cast<QLabel*>(widgets[i]), f); break;
        case FieldKind::Edit: static_cast<QLineEdit*>(widgets[i])->setText(Q(f.text)); break;
        case FieldKind::Check: static_cast<QCheckBox*>(widgets[i])->setChecked(f.checked); break;
        case FieldKind::List: {
            // An action may have added items.
            auto* list = static_cast<QListWidget*>(widgets[i]);
            for (std::size_t item = std::size_t(list->count()); item < f.items.size(); ++item)
                list->addItem(Q(f.items[item]));
            list->setCurrentRow(f.index);
            break;
        }
        default: break;
        }
    }
}

}  // namespace

int ShowFormDialog(Form& shown)
{
    // Edited on a copy; only an accepted dialog hands its values back.
    Form form = shown;
    QDialog dlg(QApplication::activeWindow());
    dlg.setObjectName(Q(form.templateName));
    dlg.setWindowTitle(Q(form.title));
    auto* top = new QVBoxLayout(&dlg);
    auto* rows = new QFormLayout;
    top->addLayout(rows);

    std::vector<QWidget*> widgets(form.fields.size());
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        FormField& f = form.fields[i];
        QWidget* w = nullptr;
        switch (f.kind) {
        // Widgets are made empty; Push below gives every one its value.
        case FieldKind::Text: w = new QLabel; break;
        case FieldKind::Edit: {
            auto* edit = new QLineEdit;
            if (f.maxLength > 0)
                edit->setMaxLength(f.maxLength);
            w = edit;
            break;
        }
        case FieldKind::Check: w = new QCheckBox(Q(f.label)); break;
        case FieldKind::List: w = new QListWidget; break;
        case FieldKind::Choice:
        case FieldKind::Button: {
            auto* button = new QPushButton(Q(f.label));
            button->setAutoDefault(false);
            if (!f.picture.isNull()) {
                button->setText({});
                button->setToolTip(Q(f.label));
                button->setIcon(QPixmap::fromImage(f.picture));
                button->setIconSize(f.picture.size());
            }
            if (f.kind == FieldKind::Choice) {
                QObject::connect(button, &QPushButton::clicked, &dlg, [&form, &widgets, &dlg, i] {
                    Pull(form, widgets);
                    form.choice = form.fields[i].value;
                    dlg.accept();
                });
            } else {
                QObject::connect(button, &QPushButton::clicked, &dlg, [&form, &widgets, i] {
                    Pull(form, widgets);
                    if (form.fields[i].onClick)
                        form.fields[i].onClick(form);
                    Push(form, widgets);
                });
            }
            w = button;
            break;
        }
        }
        w->setObjectName(Q(f.name));
        widgets[i] = w;
        const bool captioned = !f.label.empty() && (f.kind == FieldKind::Text || f.kind == FieldKind::Edit ||
                                                    f.kind == FieldKind::List);
        if (captioned)
            rows->addRow(Q(f.label), w);
        else
            rows->addRow(w);
    }

    Push(form, widgets);
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (form.fields[i].kind == FieldKind::List) {
            auto* list = static_cast<QListWidget*>(widgets[i]);
            list->setMinimumHeight(list->sizeHintForRow(0) * std::min(list->count(), 6) + 6);
        }

    auto* box = new QDialogButtonBox(form.showOnly ? QDialogButtonBox::Ok
                                                   : QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    box->setObjectName("buttons");
    top->addWidget(box);
    QObject::connect(box, &QDialogButtonBox::accepted, &dlg, [&form, &widgets, &dlg] {
        Pull(form, widgets);
        const std::string message = ValidateForm(form);
        if (message.empty())
            dlg.accept();
        else
            AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    });
    QObject::connect(box, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);

    // The first edit field opens with its value selected, so typing replaces it.
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (form.fields[i].kind == FieldKind::Edit) {
            auto* edit = static_cast<QLineEdit*>(widgets[i]);
            edit->setFocus();
            edit->selectAll();
            break;
        }

    if (dlg.exec() != QDialog::Accepted)
        return 2;
    shown = std::move(form);
    return 1;
}

bool PickSystemFont(std::string& face, int& size, bool& bold, bool& italic)
{
    QFont initial(Q(face));
    initial.setPointSize(std::max(1, size));
    initial.setBold(bold);
    initial.setItalic(italic);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return false;
    face = S(chosen.family());
    if (chosen.pointSize() > 0)
        size = chosen.pointSize();
    bold = chosen.weight() >= QFont::DemiBold;
    italic = chosen.italic();
    return true;
}

bool PickSystemColour(COLORREF& colour, std::span<const COLORREF> custom)
{
    for (std::size_t i = 0; i < custom.size() && int(i) < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(int(i), QColor(GetRValue(custom[i]), GetGValue(custom[i]), GetBValue(custom[i])));
    const QColor chosen = QColorDialog::getColor(QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)),
                                                 QApplication::activeWindow());
    if (!chosen.isValid())
        return false;
    colour = RGB(chosen.red(), chosen.green(), chosen.blue());
    return true;
}

std::string PickOpenFile(const std::string& title, const std::string& filter)
{
    return S(QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(title), QString(), Q(filter)));
}
