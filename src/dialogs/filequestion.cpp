#include "dialogs/filequestion.h"

#include <QFileDialog>

std::string FileQuestion::QtFilter() const
{
    const std::string description = filter.substr(0, filter.find('|'));
    const auto last = description.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : description.substr(0, last + 1);
}

std::string AskFileWithDialog(const FileQuestion& question, QWidget* parent)
{
    const QString name = question.fileName.find('*') == std::string::npos ? QString::fromStdString(question.fileName)
                                                                           : QString();
    QFileDialog dialog(parent, QString::fromStdString(question.title), name,
                       QString::fromStdString(question.QtFilter()));
    if (!question.folder.empty())
        dialog.setDirectory(QString::fromStdString(question.folder));
    dialog.setAcceptMode(question.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(question.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(question.defaultExt));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !question.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}
