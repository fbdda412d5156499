#include "engine/TexteSql.h"

#include "engine/Base.h"

#include "model/Noms.h"

namespace {

bool EstDebutNom(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool EstSuiteNom(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// The end of a quoted text or name starting at `i` (its quote), the doubled
// quote standing for one.
qsizetype FinCitation(const QString& sql, qsizetype i)
{
    const QChar guillemet = sql[i];
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != guillemet)
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == guillemet) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return sql.size();
}

bool EstMot(const QString& sql, const JetonSql& jeton, QStringView mot)
{
    return jeton.genre == JetonSql::Genre::Mot && MemeNom(jeton.Dans(sql), mot);
}

bool EstSymbole(const QString& sql, const JetonSql& jeton, QChar symbole)
{
    return jeton.genre == JetonSql::Genre::Symbole && sql[jeton.debut] == symbole;
}

// Text inserted at a position of the original, applied from the end.
struct Insertion
{
    qsizetype position;
    QString texte;
    qsizetype remplaces = 0; // characters of the original it replaces
};

QString Appliquer(const QString& sql, std::vector<Insertion> insertions)
{
    QString resultat;
    resultat.reserve(sql.size() + 32 * qsizetype(insertions.size()));
    qsizetype suivant = 0;
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.position < b.position; });
    for (const Insertion& insertion : insertions) {
        resultat.append(QStringView(sql).mid(suivant, insertion.position - suivant));
        resultat.append(insertion.texte);
        suivant = insertion.position + insertion.remplaces;
    }
    resultat.append(QStringView(sql).mid(suivant));
    return resultat;
}

// The words that end an ORDER BY list at its level.
bool FinitTri(const QString& sql, const JetonSql& jeton)
{
    for (const QStringView mot : {u"LIMIT", u"OFFSET", u"FETCH", u"FOR", u"UNION", u"EXCEPT", u"INTERSECT"})
        if (EstMot(sql, jeton, mot))
            return true;
    return false;
}

// Each term of every ORDER BY gets the file's place for nulls: first when
// ascending, last when descending.
void PlacerNuls(const QString& sql, const std::vector<JetonSql>& jetons, std::vector<Insertion>& insertions)
{
    // The ORDER BY lists open, innermost last, each with its current term.
    struct Tri
    {
        int profondeur;
        qsizetype finTerme = -1;
        bool descendant = false;
        bool avecNuls = false;
    };
    std::vector<Tri> tris;
    const auto finirTerme = [&insertions](Tri& tri) {
        if (tri.finTerme >= 0 && !tri.avecNuls)
            insertions.push_back({tri.finTerme, tri.descendant ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST")});
        tri = Tri{tri.profondeur};
    };
    int profondeur = 0;
    for (std::size_t i = 0; i < jetons.size(); ++i) {
        const JetonSql& jeton = jetons[i];
        Tri* tri = !tris.empty() && tris.back().profondeur == profondeur ? &tris.back() : nullptr;
        if (EstSymbole(sql, jeton, u'(')) {
            if (tri)
                tri->finTerme = jeton.fin;
            ++profondeur;
        } else if (EstSymbole(sql, jeton, u')')) {
            if (tri) {
                finirTerme(*tri);
                tris.pop_back();
            }
            --profondeur;
            if (!tris.empty() && tris.back().profondeur == profondeur)
                tris.back().finTerme = jeton.fin;
        } else if (EstMot(sql, jeton, u"ORDER") && i + 1 < jetons.size() && EstMot(sql, jetons[i + 1], u"BY")) {
            tris.push_back(Tri{profondeur});
            ++i;
        } else if (tri && (FinitTri(sql, jeton) || EstSymbole(sql, jeton, u';'))) {
            finirTerme(*tri);
            tris.pop_back();
        } else if (tri && EstSymbole(sql, jeton, u',')) {
            finirTerme(*tri);
        } else if (tri) {
            tri->descendant = tri->descendant || EstMot(sql, jeton, u"DESC");
            tri->avecNuls = tri->avecNuls || EstMot(sql, jeton, u"NULLS");
            tri->finTerme = jeton.fin;
        }
    }
    while (!tris.empty()) {
        finirTerme(tris.back());
        tris.pop_back();
    }
}

} // namespace

std::vector<JetonSql> Decouper(const QString& sql)
{
    std::vector<JetonSql> jetons;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype fin = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
        } else if (c == u'\'' || c == u'"') {
            const qsizetype fin = FinCitation(sql, i);
            jetons.push_back({c == u'\'' ? JetonSql::Genre::Texte : JetonSql::Genre::Identifiant, i, fin});
            i = fin;
        } else if (c == u':' && i + 1 < n && EstDebutNom(sql[i + 1]) && (i == 0 || sql[i - 1] != u':')) {
            qsizetype fin = i + 1;
            while (fin < n && EstSuiteNom(sql[fin]))
                ++fin;
            jetons.push_back({JetonSql::Genre::Parametre, i, fin});
            i = fin;
        } else if (EstDebutNom(c)) {
            qsizetype fin = i + 1;
            while (fin < n && EstSuiteNom(sql[fin]))
                ++fin;
            jetons.push_back({JetonSql::Genre::Mot, i, fin});
            i = fin;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            qsizetype fin = i + 1;
            while (fin < n && (sql[fin].isLetterOrNumber() || sql[fin] == u'.'
                               || ((sql[fin] == u'+' || sql[fin] == u'-') && (sql[fin - 1] == u'e' || sql[fin - 1] == u'E'))))
                ++fin;
            jetons.push_back({JetonSql::Genre::Nombre, i, fin});
            i = fin;
        } else {
            jetons.push_back({JetonSql::Genre::Symbole, i, i + 1});
            ++i;
        }
    }
    return jetons;
}

bool EstLecture(const QString& sql)
{
    const std::vector<JetonSql> jetons = Decouper(sql);
    for (const JetonSql& jeton : jetons) {
        if (EstSymbole(sql, jeton, u'('))
            continue;
        for (const QStringView mot : {u"SELECT", u"WITH", u"VALUES", u"EXPLAIN", u"PRAGMA", u"SHOW"})
            if (EstMot(sql, jeton, mot))
                return true;
        return false;
    }
    return false;
}

QString NomElementListe(QStringView nom, int position)
{
    return nom.toString() + QStringLiteral("__") + QString::number(position);
}

QString DevelopperListe(const QString& sql, QStringView nom, int taille)
{
    std::vector<Insertion> insertions;
    for (const JetonSql& jeton : Decouper(sql)) {
        if (jeton.genre != JetonSql::Genre::Parametre || !MemeNom(jeton.Dans(sql).mid(1), nom))
            continue;
        QStringList elements;
        for (int i = 0; i < taille; ++i)
            elements << QLatin1Char(':') + NomElementListe(nom, i);
        insertions.push_back({jeton.debut, elements.join(QStringLiteral(", ")), jeton.fin - jeton.debut});
    }
    if (insertions.empty())
        throw ErreurBase(QStringLiteral("La requête n'a pas de paramètre :%1").arg(nom).toStdString());
    return Appliquer(sql, std::move(insertions));
}

TexteServeur TraduirePourServeur(const QString& sql)
{
    const std::vector<JetonSql> jetons = Decouper(sql);
    // Only semicolons may follow the one statement.
    std::size_t fin = jetons.size();
    while (fin > 0 && EstSymbole(sql, jetons[fin - 1], u';'))
        --fin;
    if (fin == 0)
        throw ErreurBase("La requête ne contient aucune instruction.");
    for (std::size_t i = 0; i < fin; ++i)
        if (EstSymbole(sql, jetons[i], u';'))
            throw ErreurBase("Une requête ne peut contenir qu'une seule instruction.");
    const std::vector<JetonSql> instruction(jetons.begin(), jetons.begin() + qsizetype(fin));

    TexteServeur texte;
    std::vector<Insertion> insertions;
    for (std::size_t i = 0; i < instruction.size(); ++i) {
        const JetonSql& jeton = instruction[i];
        if (jeton.genre == JetonSql::Genre::Parametre) {
            // Each place a number of its own: one name may stand where the
            // server expects a text and where it expects a number.
            texte.parametres.push_back(jeton.Dans(sql).mid(1).toString());
            insertions.push_back({jeton.debut, QLatin1Char('$') + QString::number(texte.parametres.size()),
                                  jeton.fin - jeton.debut});
        } else if (EstMot(sql, jeton, u"LIKE")) {
            insertions.push_back({jeton.debut, QStringLiteral("ILIKE"), jeton.fin - jeton.debut});
            const bool operandeSimple = i + 1 < instruction.size()
                                        && (instruction[i + 1].genre == JetonSql::Genre::Parametre
                                            || instruction[i + 1].genre == JetonSql::Genre::Texte);
            const bool echappementDonne = i + 2 < instruction.size() && EstMot(sql, instruction[i + 2], u"ESCAPE");
            if (operandeSimple && !echappementDonne)
                insertions.push_back({instruction[i + 1].fin, QStringLiteral(" ESCAPE ''")});
        }
    }
    PlacerNuls(sql, instruction, insertions);
    texte.sql = Appliquer(sql.left(instruction.back().fin), std::move(insertions)).toUtf8();
    return texte;
}
