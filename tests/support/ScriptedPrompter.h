#pragma once

#include "ui/common/Prompter.h"

#include <QList>
#include <QStringList>

// A prompter for tests: records every message and answers questions from a script.
class ScriptedPrompter : public Prompter
{
public:
    enum class Kind
    {
        Confirm,
        Inform,
        Error,
        ChooseFile
    };
    struct Message
    {
        Kind kind;
        QString text;
    };

    // Installs itself for the lifetime of the object.
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    bool confirm(const QString& text) override;
    void inform(const QString& text) override;
    void error(const QString& text) override;
    // Records the dialog's caption and returns the next of the files given to chooseFiles,
    // or an empty text (cancelled) once they are used up.
    QString chooseFile(const FileQuestion& question) override;
    void chooseFiles(const QStringList& files) { m_files = files; }
    const QList<FileQuestion>& fileQuestions() const { return m_fileQuestions; }

    // Answers for the coming questions, in order; once they are used up every question gets
    // the default answer.
    void answer(std::initializer_list<bool> answers);
    void setDefaultAnswer(bool yes) { m_defaultAnswer = yes; }

    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    QStringList texts(Kind kind) const;
    QString last() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QList<bool> m_answers;
    QStringList m_files;
    QList<FileQuestion> m_fileQuestions;
    bool m_defaultAnswer = true;
};
