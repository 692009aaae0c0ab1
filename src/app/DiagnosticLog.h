#pragma once

#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>
#include <string>

class QFile;

// The process-wide diagnostics log: a text file of entry, exit, result, message and value lines,
// written only when the folder "VLT" exists on the Desktop at start. Every line is
// "hh:mm:ss:zzz" + body + CR LF, written under one non-recursive mutex with a flush after each
// piece, so the file is complete up to the last line even when the process dies. Any thread may
// write; a thread must not log while it holds the log's mutex.
class DiagnosticLog
{
public:
    // Logging into aFolder + "/log.txt" when aFolder exists; off otherwise.
    explicit DiagnosticLog(const QString& aFolder);
    ~DiagnosticLog();
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    bool isOn() const { return mFile != nullptr; }
    QString folder() const { return mFolder; }

    void writeEnter(const char* aName);
    void writeLeave(const char* aName);
    void writeReturn(int aValue);
    void writeMessage(const char* aText);
    void writeValue(const char* aName, const char* aValue);
    void writeValue(const char* aName, int aValue);
    void writeValue(const char* aName, const QString& aValue);
    void writeValue(const char* aName, const std::wstring& aValue);
    void copyToFolder(const QString& aSourcePath, const QString& aFileName) const;

    // Zips log.txt of aFolder into compressed_log.zip with 7z; nothing when there is no log.
    static void compressLog(const QString& aFolder);

    // The single instance behind the free functions below; null while logging is off.
    static DiagnosticLog* active() { return sActive.load(std::memory_order_acquire); }
    // The Desktop folder whose existence at start switches logging on.
    static QString defaultFolder();

private:
    void writeLine(const char* aFirst, const char* aSecond = nullptr, const char* aThird = nullptr,
                   const char* aFourth = nullptr);
    void writePiece(const char* aPiece);

    static std::atomic<DiagnosticLog*> sActive;
    friend class DiagnosticLogInstance;

    QString mFolder;
    std::unique_ptr<QFile> mFile;
    QMutex mMutex;
};

// Free functions acting on the process-wide log. Each costs one test when logging is off.
inline void logEnter(const char* aName)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeEnter(aName);
}
inline void logLeave(const char* aName)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeLeave(aName);
}
inline void logReturn(int aValue)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeReturn(aValue);
}
inline void logMessage(const char* aText)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeMessage(aText);
}
inline void logValue(const char* aName, const char* aValue)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeValue(aName, aValue);
}
inline void logValue(const char* aName, int aValue)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeValue(aName, aValue);
}
inline void logValue(const char* aName, const QString& aValue)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeValue(aName, aValue);
}
inline void logValue(const char* aName, const std::wstring& aValue)
{
    if (DiagnosticLog* log = DiagnosticLog::active())
        log->writeValue(aName, aValue);
}
inline bool logIsOn()
{
    return DiagnosticLog::active() != nullptr;
}
void copyToLogFolder(const QString& aSourcePath, const QString& aFileName);
