#include "cli/commands.h"

#include "cli/contactcommands.h"
#include "cli/placecommands.h"
#include "cli/servercommands.h"
#include "cli/synccommand.h"
#include "jet/importjetcommand.h"
#include "sync/passwordsource.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

namespace {

// Marked here, translated when told: the language is chosen at run time.
const char usage[] = QT_TRANSLATE_NOOP(
    "Commands",
    "طرز استفاده: dialvault [OPTIONS] [COMMAND [ARGUMENTS]]\n"
    "\n"
    "بدون فرمان، ديال والت پنجره هايش را باز مي کند.\n"
    "\n"
    "گزينه ها:\n"
    "  --data-dir DIR   دفترچه تلفن را در DIR نگه مي دارد (همچنين DIALVAULT_DATA_DIR)\n"
    "  --server URL     دفترچه تلفن روي يک سرور PostgreSQL را به کار مي برد، با نشاني\n"
    "                   libpq مانند postgresql://user@host:5432/office?sslmode=require\n"
    "                   (همچنين DIALVAULT_SERVER، يا تنظيم \"server\")؛ رمزها از\n"
    "                   ~/.pgpass، PGPASSWORD يا پرونده سرويس مي آيند\n"
    "  --timeout SEC    براي هر دستور روي سرور بيش از SEC ثانيه صبر نمي کند (پيش فرض 15)\n"
    "  --carddav URL    دفترچه نشاني CardDAV براي همگام سازي (همچنين تنظيم \"carddav\")؛\n"
    "                   رمز از انبار رمزهاي ميزکار، ~/.netrc يا DIALVAULT_CARDDAV_PASSWORD\n"
    "  --allow-http     همگام سازي با http ساده با ماشيني ديگر، بي رمزنگاري\n"
    "  --language LANG  زبان فرمان ها و پنجره ها: fa براي فارسي، en براي انگليسي\n"
    "\n"
    "فرمان ها:\n"
    "  --import-jet OLD.mdb NEW.mdb\n"
    "                   دفترچه تلفني را که در پرونده Jet (Access) است به يک دفترچه\n"
    "                   تلفن تازه از آن ديال والت منتقل مي کند\n"
    "  where            نشان مي دهد دفترچه تلفن، پشتيبان هاي آن و تنظيمات کجا هستند\n"
    "  backup           همين حالا از دفترچه تلفن پشتيبان مي سازد\n"
    "  restore FILE     دفترچه تلفن FILE (يک پشتيبان) را به جاي دفترچه کنوني مي گذارد،\n"
    "                   و دفترچه کنوني را به عنوان پشتيبان نگه مي دارد\n"
    "  repair           نام، شماره، يادداشت و رديف هر شماره را در دفترچه تلفني که\n"
    "                   تازه ساخته مي شود مي نويسد، براي دفترچه اي که به خاطر چيزي از\n"
    "                   برنامه اي ديگر پذيرفته نشد؛ پرونده همان طور که بود به عنوان\n"
    "                   پشتيبان نگه داشته مي شود\n"
    "  import FILE...   شماره هاي پرونده هاي vCard (.vcf)، CSV (.csv) و Jet (.mdb) را به\n"
    "                   دفترچه تلفن اضافه مي کند، هر پرونده يا همه يا هيچ؛ شماره هايي\n"
    "                   که از پيش در آن هست کنار گذاشته مي شوند\n"
    "  export FILE      همه شماره ها را در FILE مي نويسد: vCard 3.0 براي .vcf، CSV براي\n"
    "                   .csv، يا --format vcard3، vcard4 يا csv؛ براي .pdf ليست چاپي\n"
    "                   به ترتيب نام ها\n"
    "  find TEXT        شماره هايي را نشان مي دهد که نامشان يا شماره شان TEXT را دارد\n"
    "                   (متني از رقم ها در شماره ها جستجو مي شود)، هر کدام در يک سطر:\n"
    "                   نام، شماره و سطر اول يادداشت؛ با --start فقط آن ها که با TEXT\n"
    "                   شروع مي شوند. وضعيت خروج 0 اگر يکي پيدا شود، 1 اگر هيچ کدام\n"
    "  server-init      دفترچه تلفن را روي سرور مي سازد (يا کامل يا بررسي مي کند) و\n"
    "                   اجازه هايي را که هر کس لازم دارد نشان مي دهد\n"
    "  server-push      دفترچه تلفن محلي را در يک تراکنش به سرور مي برد؛ شماره هايي\n"
    "                   که از پيش آنجا هست کنار گذاشته مي شوند\n"
    "  sync             دفترچه تلفن را با دفترچه نشاني CardDAV از دو سو همگام مي کند و\n"
    "                   مي گويد در هر سو چه اضافه، تغيير يا حذف شد و ناسازگاري ها چه بود\n"
    "  --help           همين متن را نشان مي دهد\n"
    "  --version        نگارش برنامه را نشان مي دهد\n");

int misused(QTextStream &err, const QString &why)
{
    err << "dialvault: " << why << "\n" << tryHelpText() << "\n";
    return CommandMisused;
}

} // namespace

QString tryHelpText()
{
    return QCoreApplication::translate("Commands", "براي راهنما: dialvault --help");
}

QString noArgumentsText(const char *command)
{
    return QCoreApplication::translate("Commands", "%1 آرگومان نمي گيرد")
        .arg(QLatin1String(command));
}

QString oneFileText(const char *command)
{
    return QCoreApplication::translate("Commands", "%1 به يک FILE نياز دارد")
        .arg(QLatin1String(command));
}

QString onOneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    }
    return text;
}

bool commandDraws(const CommandLine &line)
{
    return exportWritesPdf(line);
}

int runCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (!line.error.isEmpty())
        return misused(err, line.error.toString());
    if (line.command == QLatin1String("help")) {
        out << QCoreApplication::translate("Commands", usage);
        return CommandDone;
    }
    if (line.command == QLatin1String("version")) {
        out << "Dialvault " << QCoreApplication::applicationVersion() << "\n";
        return CommandDone;
    }
    if (line.command == QLatin1String("import-jet")) {
        if (line.arguments.size() != 2)
            return misused(err,
                           QCoreApplication::translate(
                               "Commands", "--import-jet به OLD.mdb و NEW.mdb نياز دارد"));
        return importJetCommand(line.arguments.at(0), line.arguments.at(1), out, err);
    }
    if (line.command == QLatin1String("where"))
        return whereCommand(line, out, err);
    if (line.command == QLatin1String("backup"))
        return backupCommand(line, out, err);
    if (line.command == QLatin1String("restore"))
        return restoreCommand(line, out, err);
    if (line.command == QLatin1String("repair"))
        return repairCommand(line, out, err);
    if (line.command == QLatin1String("import"))
        return importCommand(line, out, err);
    if (line.command == QLatin1String("export"))
        return exportCommand(line, out, err);
    if (line.command == QLatin1String("find"))
        return findCommand(line, out, err);
    if (line.command == QLatin1String("server-init"))
        return serverInitCommand(line, out, err);
    if (line.command == QLatin1String("server-push"))
        return serverPushCommand(line, out, err);
    if (line.command == QLatin1String("sync")) {
        SystemPasswords passwords;
        return syncCommand(line, out, err, passwords);
    }
    return misused(
        err, QCoreApplication::translate("Commands", "فرمان ناشناخته '%1'").arg(line.command));
}

} // namespace dialvault
