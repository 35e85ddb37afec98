#include "ScriptedPrompter.h"

ScriptedPrompter::ScriptedPrompter()
{
    Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    Prompter::install(nullptr);
}

bool ScriptedPrompter::confirm(const QString& text)
{
    m_messages.append({Kind::Confirm, text});
    return m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst();
}

void ScriptedPrompter::inform(const QString& text)
{
    m_messages.append({Kind::Inform, text});
}

void ScriptedPrompter::error(const QString& text)
{
    m_messages.append({Kind::Error, text});
}

void ScriptedPrompter::answer(std::initializer_list<bool> answers)
{
    m_answers.append(QList<bool>(answers));
}

QStringList ScriptedPrompter::texts() const
{
    QStringList list;
    for (const Message& m : m_messages)
        list.append(m.text);
    return list;
}

QStringList ScriptedPrompter::texts(Kind kind) const
{
    QStringList list;
    for (const Message& m : m_messages)
        if (m.kind == kind)
            list.append(m.text);
    return list;
}

QString ScriptedPrompter::last() const
{
    return m_messages.isEmpty() ? QString() : m_messages.constLast().text;
}

QString ScriptedPrompter::chooseFile(const FileQuestion& question)
{
    m_messages.append({Kind::ChooseFile, question.caption});
    m_fileQuestions.append(question);
    return m_files.isEmpty() ? QString() : m_files.takeFirst();
}
