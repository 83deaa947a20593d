#include "dialogs/dlgform.h"

#include "dialogs/formwidget.h"
#include "model/strutil.h"
#include "platform/msgbox.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

namespace {

DialogScript& Script()
{
    static DialogScript script;
    return script;
}

// from_chars takes no '+'; allow one before a digit or point.
std::string_view DropPlus(std::string_view s)
{
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+')
        s.remove_prefix(1);
    return s;
}

// "Distance (m.) :" -> "Distance (m.)".
std::string Caption(const std::string& label)
{
    std::string_view s = Trim(label);
    while (!s.empty() && (s.back() == ':' || s.back() == ' '))
        s.remove_suffix(1);
    return std::string(s.empty() ? std::string_view("The value") : s);
}

std::string CheckNumber(const FormField& f)
{
    double v = 0.0;
    if (f.number == NumberKind::Integer) {
        int i = 0;
        if (!ParseInt(f.text, i) || i < f.lo || i > f.hi)
            return Caption(f.label) + " must be a whole number" +
                   (std::isfinite(f.lo) && std::isfinite(f.hi)
                        ? " from " + FormatShortest(f.lo) + " to " + FormatShortest(f.hi)
                        : std::string()) +
                   ".";
        v = i;
    } else if (!ParseReal(f.text, v)) {
        return Caption(f.label) + " must be a number.";
    }
    const bool loSet = std::isfinite(f.lo), hiSet = std::isfinite(f.hi);
    const bool tooLow = loSet && (f.loExclusive ? v <= f.lo : v < f.lo);
    const bool tooHigh = hiSet && v > f.hi;
    if (!tooLow && !tooHigh)
        return {};
    const std::string name = Caption(f.label);
    if (loSet && hiSet)
        return name + " must be from " + FormatShortest(f.lo) + " to " + FormatShortest(f.hi) + ".";
    if (loSet)
        return name + (f.loExclusive ? " must be greater than " : " must be at least ") + FormatShortest(f.lo) + ".";
    return name + " must be at most " + FormatShortest(f.hi) + ".";
}

}  // namespace

FormField& Form::AddText(std::string name, std::string label, std::string text)
{
    FormField& f = fields.emplace_back();
    f.kind = FieldKind::Text;
    f.name = std::move(name);
    f.label = std::move(label);
    f.text = std::move(text);
    return f;
}

FormField& Form::AddEdit(std::string name, std::string label, std::string text)
{
    FormField& f = AddText(std::move(name), std::move(label), std::move(text));
    f.kind = FieldKind::Edit;
    return f;
}

FormField& Form::AddReal(std::string name, std::string label, std::string text, double lo, double hi,
                         bool loExclusive)
{
    FormField& f = AddEdit(std::move(name), std::move(label), std::move(text));
    f.number = NumberKind::Real;
    f.lo = lo;
    f.hi = hi;
    f.loExclusive = loExclusive;
    return f;
}

FormField& Form::AddInteger(std::string name, std::string label, std::string text, int lo, int hi)
{
    FormField& f = AddEdit(std::move(name), std::move(label), std::move(text));
    f.number = NumberKind::Integer;
    f.lo = lo;
    f.hi = hi;
    return f;
}

FormField& Form::AddCheck(std::string name, std::string label, bool checked)
{
    FormField& f = AddText(std::move(name), std::move(label));
    f.kind = FieldKind::Check;
    f.checked = checked;
    return f;
}

FormField& Form::AddList(std::string name, std::string label, std::vector<std::string> items, int index)
{
    FormField& f = AddText(std::move(name), std::move(label));
    f.kind = FieldKind::List;
    f.items = std::move(items);
    f.index = index >= 0 && index < int(f.items.size()) ? index : -1;
    return f;
}

FormField& Form::AddChoice(std::string name, std::string label, int value)
{
    FormField& f = AddText(std::move(name), std::move(label));
    f.kind = FieldKind::Choice;
    f.value = value;
    return f;
}

FormField& Form::AddButton(std::string name, std::string label, std::function<void(Form&)> onClick)
{
    FormField& f = AddText(std::move(name), std::move(label));
    f.kind = FieldKind::Button;
    f.onClick = std::move(onClick);
    return f;
}

std::size_t Form::Slot(std::string_view name) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = std::hash<std::string_view>()(name) & mask;
    while (m_slots[i] != 0 && fields[m_slots[i] - 1].name != name)
        i = (i + 1) & mask;
    return i;
}

FormField* Form::Find(std::string_view name)
{
    // Small forms are searched in order; large ones (a check box a block) by name.
    if (fields.size() > 16) {
        if (m_indexed > fields.size() || 2 * fields.size() > m_slots.size()) {
            m_slots.assign(std::max<std::size_t>(64, std::bit_ceil(4 * fields.size())), 0);
            m_indexed = 0;
        }
        for (; m_indexed < fields.size(); ++m_indexed)
            if (const std::size_t i = Slot(fields[m_indexed].name); m_slots[i] == 0)
                m_slots[i] = std::uint32_t(m_indexed + 1);
        if (const std::uint32_t hit = m_slots[Slot(name)])
            return &fields[hit - 1];
    }
    // Also a field renamed after it was indexed.
    for (FormField& f : fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

const FormField* Form::Find(std::string_view name) const
{
    return const_cast<Form*>(this)->Find(name);
}

std::string Form::Text(std::string_view name) const
{
    const FormField* f = Find(name);
    return f ? f->text : std::string();
}

bool Form::Checked(std::string_view name) const
{
    const FormField* f = Find(name);
    return f && f->kind == FieldKind::Check && f->checked;
}

int Form::Index(std::string_view name) const
{
    const FormField* f = Find(name);
    return f && f->kind == FieldKind::List ? f->index : -1;
}

double Form::Real(std::string_view name, double fallback) const
{
    double v = 0.0;
    return ParseReal(Text(name), v) ? v : fallback;
}

int Form::Integer(std::string_view name, int fallback) const
{
    int v = 0;
    return ParseInt(Text(name), v) ? v : fallback;
}

std::string FieldValue(const FormField& field)
{
    switch (field.kind) {
    case FieldKind::Check: return field.checked ? "1" : "0";
    case FieldKind::List:
        return field.index >= 0 && field.index < int(field.items.size()) ? field.items[field.index] : std::string();
    case FieldKind::Choice:
    case FieldKind::Button: return {};
    default: return field.text;
    }
}

bool SetFieldValue(FormField& field, std::string_view value)
{
    switch (field.kind) {
    case FieldKind::Edit:
        field.text = field.maxLength > 0 ? value.substr(0, std::size_t(field.maxLength)) : value;
        return true;
    case FieldKind::Check:
        if (value != "0" && value != "1")
            return false;
        field.checked = value == "1";
        return true;
    case FieldKind::List:
        for (std::size_t i = 0; i < field.items.size(); ++i)
            if (field.items[i] == value) {
                field.index = int(i);
                return true;
            }
        return false;
    default: return false;
    }
}

std::string ValidateForm(const Form& form)
{
    for (const FormField& f : form.fields)
        if (f.kind == FieldKind::Edit && f.number != NumberKind::None)
            if (std::string message = CheckNumber(f); !message.empty())
                return message;
    return {};
}

int RunForm(Form& form)
{
    form.choice = 0;
    if (!Script())
        return ShowFormDialog(form);

    // Works on a copy so that Cancel leaves the form as it was shown; a
    // script that keeps giving invalid values ends as Cancel.
    Form work = form;
    for (int round = 0; round < 100; ++round) {
        const FormAnswer answer = Script()(work);
        for (const auto& [name, value] : answer.values)
            if (FormField* f = work.Find(name))
                SetFieldValue(*f, value);
        for (const std::string& name : answer.press) {
            FormField* f = work.Find(name);
            if (f && f->kind == FieldKind::Button && f->onClick)
                f->onClick(work);
            if (f && f->kind == FieldKind::Choice) {
                work.choice = f->value;
                form = std::move(work);
                return 1;
            }
        }
        if (answer.result == 0)
            continue;
        if (answer.result != 1)
            return answer.result;
        const std::string message = ValidateForm(work);
        if (message.empty()) {
            form = std::move(work);
            return 1;
        }
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    }
    return 2;
}

DialogScript SetDialogScript(DialogScript script)
{
    DialogScript previous = std::move(Script());
    Script() = std::move(script);
    return previous;
}

bool ParseReal(std::string_view text, double& value)
{
    const std::string_view s = DropPlus(Trim(text));
    if (s.empty())
        return false;
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseInt(std::string_view text, int& value)
{
    const std::string_view s = DropPlus(Trim(text));
    if (s.empty())
        return false;
    int v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return false;
    value = v;
    return true;
}

std::string FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    char buf[400];
    const int n = decimals < 0 ? 0 : (decimals > 40 ? 40 : decimals);
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, n);
    if (res.ec != std::errc())
        return "0";
    std::string out(buf, res.ptr);
    if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos)
        out.erase(0, 1);  // no "-0.00"
    return out;
}

std::string FormatShortest(double value)
{
    if (value == 0.0)
        return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return res.ec == std::errc() ? std::string(buf, res.ptr) : std::string("0");
}
