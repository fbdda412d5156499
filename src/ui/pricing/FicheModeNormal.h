#pragma once

#include <QDialog>
#include <QString>

// The pricing screen opened by the CREATION and MAJ modes.
class TFicheModeNormal : public QDialog
{
    Q_OBJECT
public:
    explicit TFicheModeNormal(QWidget* parent);
    ~TFicheModeNormal() override;

    void SetFichierConfig(const QString& fichier) { FichierConfig = fichier; }
    void SetFichierEchange(const QString& fichier) { FichierEchange = fichier; }
    const QString& GetFichierConfig() const { return FichierConfig; }
    const QString& GetFichierEchange() const { return FichierEchange; }

private:
    QString FichierConfig;
    QString FichierEchange;
};
