#include "model/Propriete.h"

#include "model/Formats.h"
#include "model/FragmentXml.h"

#include <stdexcept>

namespace {

// Up to this many properties, a name is looked for without the index.
constexpr int kProprietesSansIndex = 16;

} // namespace

TPropriete::TPropriete(const QString& id, const QString& valeur) : id(id.toUpper()), valeur(valeur) {}

TPropriete& TPropriete::operator=(const TPropriete& autre)
{
    if (this != &autre) {
        SetId(autre.id);
        valeur = autre.valeur;
    }
    return *this;
}

void TPropriete::SetId(const QString& nouvelId)
{
    id = nouvelId.toUpper();
    if (liste)
        liste->IndexPerime();
}

QString TPropriete::GetXml() const
{
    return FragmentDe(*this);
}

void TPropriete::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"propriete");
    sortie.Attribut(u"id", id);
    sortie.Attribut(u"valeur", valeur);
    sortie.FinDebut();
    sortie.Fin(u"propriete");
    sortie.Blanc(u"\n");
}

TProprietes::TProprietes(const TProprietes& autre)
{
    for (const TPropriete& propriete : autre)
        Ajouter(propriete.GetId(), propriete.GetValeur());
}

TProprietes& TProprietes::operator=(const TProprietes& autre)
{
    if (this != &autre) {
        TProprietes copie(autre);
        *this = std::move(copie);
    }
    return *this;
}

TProprietes::TProprietes(TProprietes&& autre) noexcept
    : elements(std::move(autre.elements)), index(std::move(autre.index)), indexAJour(autre.indexAJour)
{
    Rattacher();
    autre.index.clear();
    autre.indexAJour = true;
}

TProprietes& TProprietes::operator=(TProprietes&& autre) noexcept
{
    if (this != &autre) {
        elements = std::move(autre.elements);
        index = std::move(autre.index);
        indexAJour = autre.indexAJour;
        Rattacher();
        autre.index.clear();
        autre.indexAJour = true;
    }
    return *this;
}

void TProprietes::Rattacher()
{
    for (TPropriete& propriete : elements)
        propriete.liste = this;
}

TPropriete& TProprietes::Ajouter(const QString& id, const QString& valeur)
{
    auto nouvelle = std::make_unique<TPropriete>(id, valeur);
    nouvelle->liste = this;
    TPropriete& ajoutee = elements.Ajouter(std::move(nouvelle));
    // A built index follows the additions; none is built for a short list.
    if (indexAJour && !index.isEmpty()) {
        if (!index.contains(ajoutee.id))
            index.insert(ajoutee.id, elements.Nombre() - 1);
    } else {
        IndexPerime();
    }
    return ajoutee;
}

void TProprietes::Supprimer(int position)
{
    elements.Supprimer(position);
    IndexPerime();
}

void TProprietes::Vider()
{
    elements.Vider();
    index.clear();
    indexAJour = true;
}

const QHash<QString, int>& TProprietes::Index() const
{
    if (!indexAJour) {
        index.clear();
        for (int i = elements.Nombre() - 1; i >= 0; --i)
            index.insert(elements[i].id, i); // the first of a name is inserted last and wins
        indexAJour = true;
    }
    return index;
}

const TPropriete* TProprietes::Trouver(const QString& nom) const
{
    const QString cle = nom.toUpper();
    // An item has a handful of properties: reading them is quicker than an
    // index, which would cost each item of a large quote over a kilobyte.
    if (elements.Nombre() <= kProprietesSansIndex) {
        for (const TPropriete& propriete : elements) {
            if (propriete.id == cle)
                return &propriete;
        }
        return nullptr;
    }
    const auto& parNom = Index();
    const auto trouve = parNom.constFind(cle);
    return trouve == parNom.constEnd() ? nullptr : &elements[trouve.value()];
}

TPropriete* TProprietes::Trouver(const QString& nom)
{
    return const_cast<TPropriete*>(std::as_const(*this).Trouver(nom));
}

std::optional<int> TProprietes::Dimension(const QString& nom) const
{
    const TPropriete* propriete = Trouver(nom);
    if (!propriete)
        return std::nullopt;
    const std::optional<int> valeur = LireEntier(propriete->GetValeur());
    if (!valeur) {
        const QString texte = QStringLiteral("La propriété %1 de la menuiserie vaut « %2 », "
                                             "qui n'est pas un nombre entier.")
                                  .arg(propriete->GetId(), propriete->GetValeur());
        throw std::runtime_error(texte.toStdString());
    }
    return valeur;
}

QString TProprietes::GetValeur(const QString& nom) const
{
    const QString cle = nom.toUpper();
    if (const TPropriete* propriete = Trouver(cle))
        return propriete->GetValeur();
    if (cle == u"PERIMETRE")
        return Perimetre();
    if (cle == u"LARGEUR_VANTAIL")
        return LargeurVantail();
    return QString();
}

QString TProprietes::Perimetre() const
{
    const TPropriete* largeur = Trouver(QStringLiteral("LARGEUR"));
    const TPropriete* hauteur = Trouver(QStringLiteral("HAUTEUR"));
    if (!largeur || !hauteur)
        return QStringLiteral("0");
    const qint64 perimetre = qint64(LireEntierOuZero(largeur->GetValeur())) + 2 * qint64(LireEntierOuZero(hauteur->GetValeur()));
    return QString::number(perimetre);
}

// A leaf count that is zero or unreadable (or an unreadable width) gives "0",
// as a missing property does: the value feeds tariff constraints that are
// checked at every repaint, where an error would block the whole screen.
QString TProprietes::LargeurVantail() const
{
    const TPropriete* largeur = Trouver(QStringLiteral("LARGEUR"));
    const TPropriete* vantail = Trouver(QStringLiteral("VANTAIL"));
    if (!largeur || !vantail)
        return QStringLiteral("0");
    const auto l = LireDecimal(largeur->GetValeur());
    const auto v = LireDecimal(vantail->GetValeur());
    if (!l || !v || *v == 0.0)
        return QStringLiteral("0");
    return FormatGeneral(*l / *v);
}

QString TProprietes::GetXml() const
{
    return FragmentDe(*this);
}

void TProprietes::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"proprietes");
    sortie.FinDebut();
    for (const TPropriete& propriete : elements)
        propriete.EcrireXml(sortie);
    sortie.Fin(u"proprietes");
}
