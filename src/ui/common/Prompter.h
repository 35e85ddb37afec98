#pragma once

#include <QString>

// What a file dialog is asked.
struct FileQuestion
{
    QString caption;
    QString proposed; // full path proposed to the user
    QString filter;
    bool save = true;
};

// Every message box of the program goes through the installed prompter, so that tests can
// answer the questions and read the messages.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    virtual void inform(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // The file the user chose in a file dialog, or an empty text when they cancelled.
    virtual QString chooseFile(const FileQuestion& question);

    // The prompter in use: message boxes unless another one was installed.
    static Prompter& instance();
    // Installs prompter (not owned) in place of the message boxes; nullptr restores them.
    static void install(Prompter* prompter);
};

// Qt message boxes over the active window.
class MessageBoxPrompter : public Prompter
{
public:
    bool confirm(const QString& text) override;
    void inform(const QString& text) override;
    void error(const QString& text) override;
};
