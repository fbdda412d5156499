// The exchange reader on any bytes, then the round trip the host relies on:
// the quote read is written as the answer, and the answer read again gives
// the same quote. Texts are compared as the 8-bit answer file can hold them
// (a character it cannot hold is written "?", as are control characters other
// than tab and line breaks) and amounts at the two decimals they are written
// with.

#include "Cible.h"

#include "model/Echange.h"
#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/Xml.h"

#include <QStringList>

namespace {

QString CommeEcrit(const QString& texte)
{
    QString sansControles = texte;
    for (QChar& c : sansControles)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = u'?';
    return DecoderCp1252(EncoderCp1252(sansControles));
}

// The quantity the answer gives back: a property whose name only became
// "QUANTITE" once stored in capitals does not set the quantity when the
// host's file is read, but it does when the answer is read.
int QuantiteRelue(const TMenuiserie& menuiserie)
{
    int quantite = menuiserie.GetQuantite();
    for (const TPropriete& propriete : menuiserie.GetProprietes())
        if (CommeEcrit(propriete.GetId()).toUpper() == u"QUANTITE" && quantite < 1)
            quantite = LireEntierOuZero(CommeEcrit(propriete.GetValeur()));
    return quantite;
}

// Every field of the quote, one per line.
class Description
{
public:
    QStringList lignes;

    void Texte(const char* champ, const QString& valeur) { Ajouter(champ, CommeEcrit(valeur)); }
    void Montant(const char* champ, double valeur) { Ajouter(champ, FormatMonetaire(valeur)); }
    void Entier(const char* champ, int valeur) { Ajouter(champ, QString::number(valeur)); }

    void Tva(const TTva& tva)
    {
        Entier("type_tva", tva.GetTypeTva());
        Texte("tva", tva.GetLibelle());
        Montant("taux", tva.GetValeur());
    }

    void Quincailleries(const TQuincailleries& liste)
    {
        Entier("quincailleries", liste.Nombre());
        for (const TQuincaillerie& q : liste) {
            Texte("id", q.GetId());
            Texte("libelle", q.GetLibelle());
            Texte("libelle2", q.GetLibelle2());
            Montant("tarif_vente", q.GetTarifVente());
            Montant("tarif_achat", q.GetTarifAchat());
            Montant("nb_pieces", q.GetNbPieces());
            Montant("nb_pieces_ml", q.GetNbPiecesMl());
            Montant("quantite", q.GetQuantite());
            Entier("secable", q.GetSecable());
            Texte("code_export", q.GetCodeExport());
        }
    }

    void Tarif(const TTarif& tarif)
    {
        Texte("id", tarif.GetId());
        Texte("libelle", tarif.GetLibelle());
        Montant("prix", tarif.GetPrix());
        Entier("quincaillerie_incluse", tarif.GetQuincaillerieIncluse());
        Texte("code_export", tarif.GetCodeExport());
        Texte("poseur", tarif.GetPoseurId());
        Texte("nom", tarif.GetPoseurNom());
        Montant("prix_poseur", tarif.GetPoseurPrix());
        Texte("siret", tarif.GetPoseurSiret());
        Texte("rge", tarif.GetPoseurRge());
        Tva(tarif.GetTva());
        Quincailleries(tarif.GetQuincailleries());
    }

    void Menuiserie(const TMenuiserie& menuiserie)
    {
        Texte("code", menuiserie.GetCode());
        Texte("libelle", menuiserie.GetLibelle());
        Texte("description", menuiserie.GetDescription());
        Entier("quantite", QuantiteRelue(menuiserie));
        Texte("pose", menuiserie.GetPose().GetId());
        Texte("libelle", menuiserie.GetPose().GetLibelle());
        Texte("code_export", menuiserie.GetPose().GetCodeExport());
        Tva(menuiserie.GetPose().GetTva());
        Entier("proprietes", menuiserie.GetProprietes().Nombre());
        for (const TPropriete& propriete : menuiserie.GetProprietes()) {
            Ajouter("propriete", CommeEcrit(propriete.GetId()).toUpper());
            Texte("valeur", propriete.GetValeur());
        }
        Entier("tarifs", menuiserie.GetTarifs().Nombre());
        for (const TTarif& tarif : menuiserie.GetTarifs())
            Tarif(tarif);
    }

    void Devis(const DevisEchange& devis)
    {
        const TPoseLivraison& pose = devis.poseGlobale;
        Texte("pose", pose.GetId());
        Texte("libelle", pose.GetLibelle());
        Texte("code_export", pose.GetCodeExport());
        Tva(pose.GetTva());
        for (const auto option : TPoseLivraison::kOptions) {
            Entier("choix", pose.GetChoix(option));
            Montant("prix", pose.GetPrix(option));
            Texte("code_export", pose.GetCodeExportOption(option));
        }
        Entier("cotes", devis.cotes);
        Quincailleries(devis.quincailleriesGlobales);
        Entier("menuiseries", devis.menuiseries.Nombre());
        for (const TMenuiserie& menuiserie : devis.menuiseries)
            Menuiserie(menuiserie);
    }

private:
    void Ajouter(const char* champ, const QString& valeur) { lignes << QString::fromLatin1(champ) + u'=' + valeur; }
};

QStringList Decrire(const DevisEchange& devis)
{
    Description description;
    description.Devis(devis);
    return description.lignes;
}

QByteArray Ecrire(const DevisEchange& devis)
{
    try {
        return ContenuEchange(devis.poseGlobale, devis.cotes, devis.quincailleriesGlobales, devis.menuiseries);
    } catch (const ErreurXml& erreur) {
        cible::Exiger(false, "la réponse s'écrit", erreur.Message());
    }
    return {};
}

DevisEchange Relire(const QByteArray& reponse)
{
    try {
        TXmlDocument document;
        document.ReadFromBytes(reponse);
        return LireDevis(document, QStringLiteral("reponse.xml"));
    } catch (const std::exception& erreur) {
        cible::Exiger(false, "la réponse se relit", QString::fromUtf8(erreur.what()) + u'\n' + QString::fromLatin1(reponse));
    }
    return {};
}

// The first line where two descriptions part.
QString Ecart(const QStringList& attendu, const QStringList& obtenu)
{
    for (qsizetype i = 0; i < std::min(attendu.size(), obtenu.size()); ++i)
        if (attendu[i] != obtenu[i])
            return QStringLiteral("ligne %1 : attendu « %2 », relu « %3 »").arg(i).arg(attendu[i], obtenu[i]);
    return QStringLiteral("%1 lignes attendues, %2 relues").arg(attendu.size()).arg(obtenu.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cible::RegionFrancaise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    DevisEchange lu;
    try {
        TXmlDocument document;
        document.ReadFromBytes(cible::Octets(donnees, taille));
        lu = LireDevis(document, QStringLiteral("devis.xml"));
    } catch (const ErreurXml&) {
        return 0;
    } catch (const ErreurEchange&) {
        return 0;
    }

    const QByteArray reponse = Ecrire(lu);
    const DevisEchange relu = Relire(reponse);
    const QStringList attendu = Decrire(lu);
    const QStringList obtenu = Decrire(relu);
    cible::Exiger(obtenu == attendu, "la réponse se relit en le même devis", Ecart(attendu, obtenu));

    // Once written, the quote goes through any number of answers unchanged.
    cible::Exiger(Ecrire(relu) == Ecrire(Relire(Ecrire(relu))), "une réponse relue s'écrit à l'identique");
    return 0;
}
