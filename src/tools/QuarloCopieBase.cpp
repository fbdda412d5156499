// QuarloCopieBase <source> <destination>: moves a company's reference data
// between the file Quarlo.abs and a server database.

#include "tools/CopieBase.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    return CopieBase::Executer(QCoreApplication::arguments().mid(1));
}
