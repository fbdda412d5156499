#include "model/Systeme.h"

#include <QDir>

#include <cstdio>
#include <utility>
#include <windows.h>

// A writer opens its file sharing nothing but its renaming: no other process
// can open it while it is held, so a file that opens unshared is what a
// stopped program left behind.

namespace Systeme {

namespace {

std::wstring Large(const QString& chemin)
{
    return QDir::toNativeSeparators(chemin).toStdWString();
}

// The system's message, in the language of the user's Windows.
QString Raison(DWORD erreur)
{
    wchar_t* texte = nullptr;
    const DWORD longueur = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, erreur, 0, reinterpret_cast<wchar_t*>(&texte), 0, nullptr);
    QString raison = longueur ? QString::fromWCharArray(texte, int(longueur)).trimmed()
                              : QStringLiteral("erreur %1 du système").arg(erreur);
    LocalFree(texte);
    return raison;
}

Echec EchecDe(DWORD erreur)
{
    return Echec{Raison(erreur),
                 erreur == ERROR_ACCESS_DENIED || erreur == ERROR_WRITE_PROTECT || erreur == ERROR_SHARING_VIOLATION,
                 erreur == ERROR_FILE_EXISTS || erreur == ERROR_ALREADY_EXISTS};
}

Issue Verifier(BOOL reussi)
{
    if (reussi)
        return std::nullopt;
    return EchecDe(GetLastError());
}

HANDLE Ouvrir(const QString& chemin, DWORD acces, DWORD partage, DWORD creation, DWORD options = FILE_ATTRIBUTE_NORMAL)
{
    return CreateFileW(Large(chemin).c_str(), acces, partage, nullptr, creation, options, nullptr);
}

} // namespace

FichierTenu FichierTenu::CreerNouveau(const QString& chemin, const QString&, Issue& issue)
{
    // A new file takes the permissions of its folder, as the file it replaces did.
    FichierTenu fichier;
    fichier.handle = Ouvrir(chemin, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, CREATE_NEW);
    issue = Verifier(fichier.handle != INVALID_HANDLE_VALUE);
    fichier.chemin = chemin;
    return fichier;
}

FichierTenu FichierTenu::OuvrirExistant(const QString& chemin, Issue& issue)
{
    FichierTenu fichier;
    fichier.handle = Ouvrir(chemin, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    issue = Verifier(fichier.handle != INVALID_HANDLE_VALUE);
    fichier.chemin = chemin;
    return fichier;
}

FichierTenu::FichierTenu(FichierTenu&& autre) noexcept
    : chemin(std::move(autre.chemin)), handle(std::exchange(autre.handle, INVALID_HANDLE_VALUE))
{
}

FichierTenu& FichierTenu::operator=(FichierTenu&& autre) noexcept
{
    std::swap(chemin, autre.chemin);
    std::swap(handle, autre.handle);
    return *this;
}

FichierTenu::~FichierTenu()
{
    if (Ouvert())
        CloseHandle(handle);
}

bool FichierTenu::Ouvert() const
{
    return handle != INVALID_HANDLE_VALUE;
}

Issue FichierTenu::LireTout(QByteArray& octets)
{
    LARGE_INTEGER taille{};
    if (!GetFileSizeEx(handle, &taille))
        return EchecDe(GetLastError());
    octets.resize(qsizetype(taille.QuadPart));
    qsizetype lus = 0;
    while (lus < octets.size()) {
        OVERLAPPED position{};
        position.Offset = DWORD(quint64(lus));
        position.OffsetHigh = DWORD(quint64(lus) >> 32);
        DWORD n = 0;
        const DWORD morceau = DWORD(qMin<qsizetype>(octets.size() - lus, 1 << 30));
        if (!ReadFile(handle, octets.data() + lus, morceau, &n, &position))
            return EchecDe(GetLastError());
        if (n == 0)
            break;
        lus += n;
    }
    octets.truncate(lus);
    return std::nullopt;
}

Issue FichierTenu::Ecrire(const QByteArray& octets, qint64 debut)
{
    qsizetype ecrits = 0;
    while (ecrits < octets.size()) {
        const quint64 ici = quint64(debut + ecrits);
        OVERLAPPED position{};
        position.Offset = DWORD(ici);
        position.OffsetHigh = DWORD(ici >> 32);
        DWORD n = 0;
        const DWORD morceau = DWORD(qMin<qsizetype>(octets.size() - ecrits, 1 << 30));
        if (!WriteFile(handle, octets.constData() + ecrits, morceau, &n, &position))
            return EchecDe(GetLastError());
        if (n == 0)
            return EchecDe(ERROR_WRITE_FAULT);
        ecrits += n;
    }
    return std::nullopt;
}

Issue FichierTenu::Reserver(qint64 taille)
{
    FILE_ALLOCATION_INFO place{};
    place.AllocationSize.QuadPart = taille;
    if (SetFileInformationByHandle(handle, FileAllocationInfo, &place, sizeof place))
        return std::nullopt;
    const DWORD erreur = GetLastError();
    if (erreur == ERROR_DISK_FULL || erreur == ERROR_HANDLE_DISK_FULL)
        return EchecDe(erreur);
    return std::nullopt;
}

Issue FichierTenu::Tronquer(qint64 taille)
{
    FILE_END_OF_FILE_INFO fin{};
    fin.EndOfFile.QuadPart = taille;
    return Verifier(SetFileInformationByHandle(handle, FileEndOfFileInfo, &fin, sizeof fin));
}

Issue FichierTenu::PorterSurDisque()
{
    return Verifier(FlushFileBuffers(handle));
}

Issue FichierTenu::RenommerEn(const QString& cible)
{
    const Issue issue = Verifier(MoveFileExW(Large(chemin).c_str(), Large(cible).c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (!issue)
        chemin = cible;
    return issue;
}

void FichierTenu::Supprimer()
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition))
        DeleteFileW(Large(chemin).c_str());
}

void SupprimerSiAbandonne(const QString& chemin)
{
    // Opened unshared only when nobody else has it open; it goes as it closes.
    const HANDLE reste = Ouvrir(chemin, DELETE, 0, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT);
    if (reste != INVALID_HANDLE_VALUE)
        CloseHandle(reste);
}

std::optional<QString> EcritureRefusee(const QString& chemin)
{
    const DWORD attributs = GetFileAttributesW(Large(chemin).c_str());
    if (attributs == INVALID_FILE_ATTRIBUTES || (attributs & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    if (attributs & FILE_ATTRIBUTE_READONLY)
        return Raison(ERROR_ACCESS_DENIED);
    const HANDLE essai = Ouvrir(chemin, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (essai == INVALID_HANDLE_VALUE) {
        const DWORD erreur = GetLastError();
        return erreur == ERROR_ACCESS_DENIED ? std::optional(Raison(erreur)) : std::nullopt;
    }
    CloseHandle(essai);
    return std::nullopt;
}

Nature NatureDe(const QString& chemin)
{
    WIN32_FILE_ATTRIBUTE_DATA etat{};
    if (chemin.isEmpty() || !GetFileAttributesExW(Large(chemin).c_str(), GetFileExInfoStandard, &etat)) {
        const DWORD erreur = chemin.isEmpty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        if (erreur == ERROR_FILE_NOT_FOUND || erreur == ERROR_PATH_NOT_FOUND || erreur == ERROR_INVALID_NAME
            || erreur == ERROR_BAD_NETPATH || erreur == ERROR_INVALID_DRIVE)
            return {};
        return {Nature::Inaccessible, 0, Raison(erreur)};
    }
    if (etat.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {Nature::Dossier, 0, {}};
    if (etat.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
        return {Nature::Autre, 0, {}};
    return {Nature::Ordinaire, qint64((quint64(etat.nFileSizeHigh) << 32) | etat.nFileSizeLow), {}};
}

bool NommerSiLibre(const QString& source, const QString& cible, Issue& issue)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (MoveFileExW(Large(source).c_str(), Large(cible).c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    const Echec echec = EchecDe(GetLastError());
    if (!echec.existe)
        issue = echec;
    return false;
}

void Terminer(int code)
{
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}

} // namespace Systeme
