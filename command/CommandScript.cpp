// The script, read as a stream (see CommandScript.h).
#include "command/CommandScript.h"

#include "base/Log.h"
#include "command/QuotedText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// Why a call on the file failed, in French (strerror speaks English here).
std::string SystemReason(int error)
{
    switch (error) {
    case ENOENT:
        return "fichier introuvable";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOTDIR:
        return "un élément du chemin n'est pas un répertoire";
    case ENAMETOOLONG:
        return "nom trop long";
    case ELOOP:
        return "trop de liens symboliques";
    default:
        return "erreur système " + std::to_string(error);
    }
}

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "un répertoire";
    if (S_ISFIFO(mode))
        return "un tube nommé (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "un périphérique";
    if (S_ISSOCK(mode))
        return "une socket";
    return "un fichier spécial";
}

}  // namespace

CCommandScript::~CCommandScript()
{
    Close();
}

bool CCommandScript::Open(const std::string& path, std::string* error)
{
    m_Name = QuotedText(path);
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer, before the check below could refuse it. It changes nothing
    // for a regular file.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        *error = "impossible d'ouvrir le script « " + m_Name + " » : " + SystemReason(errno);
        return false;
    }
    struct stat status;
    if (fstat(file, &status) != 0) {
        *error = "impossible de lire le script « " + m_Name + " » : " + SystemReason(errno);
        close(file);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        *error = "le script « " + m_Name + " » n'est pas un fichier ordinaire : c'est " + KindOf(status.st_mode);
        close(file);
        return false;
    }
    m_iFile = file;
    m_bFinished = false;
    return true;
}

void CCommandScript::Close()
{
    if (m_iFile >= 0)
        close(m_iFile);
    m_iFile = -1;
}

void CCommandScript::ReadMore()
{
    char block[16 * 1024];
    const ssize_t length = read(m_iFile, block, sizeof block);
    if (length < 0 && errno == EINTR)
        return;
    if (length < 0) {
        // The complete lines already read still run; the cut one does not.
        LogError("CCommandScript::ReadMore -- lecture du script %s interrompue : %s", m_Name.c_str(),
                 SystemReason(errno).c_str());
        Close();
        return;
    }
    if (length == 0) {
        m_Session.EndOfInput();
        Close();
        return;
    }
    std::size_t skip = 0;
    if (!m_bStarted && length >= 3 && std::memcmp(block, kByteOrderMark, 3) == 0)
        skip = 3;
    m_bStarted = true;
    m_Session.Feed(block + skip, static_cast<std::size_t>(length) - skip);
}

CommandSource::Step CCommandScript::RunOne(CommandRunner& runner)
{
    if (m_bFinished)
        return Step::Idle;
    // A refused line is an error of the script; a reply that carries
    // something (get, pose, mgd, ...) is what the line was for: a debug
    // record, where a script run with no one watching leaves it.
    const auto record = [this](unsigned long line, const std::string& reply) {
        if (reply.rfind("erreur", 0) == 0)
            LogError("Script %s, ligne %lu : %s", m_Name.c_str(), line, reply.c_str());
        else if (reply != "ok")
            LogWrite(LOG_DEBUG, "Script %s, ligne %lu : %s", m_Name.c_str(), line, reply.c_str());
    };
    switch (m_Session.RunOne(runner, record)) {
    case CCommandSession::Step::Ran:
        return Step::Ran;
    case CCommandSession::Step::Waiting:
        return Step::Idle;
    case CCommandSession::Step::TooLong:
        record(m_Session.LineNumber(), "erreur : ligne de plus de " + std::to_string(kMaxCommandLine) + " octets");
        return Step::Ran;
    case CCommandSession::Step::Exit:
        Close();
        m_bFinished = true;
        return Step::Exit;
    case CCommandSession::Step::NoLine:
        break;
    }
    if (m_iFile < 0) {
        m_bFinished = true;
        return Step::Idle;
    }
    ReadMore();
    return Step::Ran;
}
