#include "interchange/csvcolumns.h"

#include "interchange/duplicatekey.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <initializer_list>

namespace dialvault {

namespace {

// A header name as it is looked up: trimmed, accents and case dropped (so
// "Téléphone" and "TELEPHONE" meet, and Turkish dotted and dotless i),
// ZWNJ and runs of blanks as one space, Persian letter forms as the phone
// book folds them.
QString columnKey(const QString &name)
{
    QString key = trimmedText(name).normalized(QString::NormalizationForm_D);
    key.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    key = key.toCaseFolded();
    key.replace(QChar(0x0131), u'i');
    key.replace(QChar(0x200C), u' ');
    return duplicateKeyName(key.simplified());
}

CsvColumn named(CsvRole role)
{
    CsvColumn column;
    column.role = role;
    return column;
}

enum NumberKind { Plain = 0, Mobile = 1, Preferred = 2, Secondary = 4 };

CsvColumn number(const char16_t *label, int kind = Plain)
{
    CsvColumn column = named(CsvRole::Number);
    column.label = QString::fromUtf16(label);
    column.mobile = kind & Mobile;
    column.preferred = kind & Preferred;
    column.secondary = kind & Secondary;
    return column;
}

// Every column name known, in every language, from this one table: what the
// column means, then the names the exporters give it.
const QHash<QString, CsvColumn> &knownColumns()
{
    static const QHash<QString, CsvColumn> columns = [] {
        QHash<QString, CsvColumn> known;
        const auto add
            = [&](const CsvColumn &column, std::initializer_list<const char16_t *> names) {
                  for (const char16_t *name : names)
                      known.insert(columnKey(QString::fromUtf16(name)), column);
              };
        // The program's own fields.
        CsvColumn ownName = named(CsvRole::FormattedName);
        ownName.firstBesideLast = true;
        add(ownName, {u"نام"});
        CsvColumn ownNumber = named(CsvRole::Number);
        ownNumber.ownField = true;
        add(ownNumber, {u"تلفن"});
        add(named(CsvRole::Note), {u"يادداشت"});

        add(named(CsvRole::FormattedName),
            {u"name", u"full name", u"vollständiger name", u"nom complet", u"nombre completo",
             u"nome completo", u"volledige naam", u"naam", u"полное имя", u"tam ad", u"ad soyad",
             u"الاسم الكامل", u"الاسم", u"نام کامل"});
        add(named(CsvRole::Given), {u"given name"});
        add(named(CsvRole::Additional), {u"additional name"});
        add(named(CsvRole::Family), {u"family name"});
        add(named(CsvRole::DisplayName),
            {u"display name", u"anzeigename", u"nom d'affichage", u"nombre para mostrar",
             u"nome visualizzato", u"weergavenaam", u"nome de exibição", u"отображаемое имя",
             u"görünen ad", u"الاسم المعروض", u"نام نمایشی"});
        add(named(CsvRole::First),
            {u"first name", u"vorname", u"prénom", u"nombre", u"nome", u"voornaam", u"nome próprio",
             u"primeiro nome", u"имя", u"ad", u"adı", u"الاسم الأول", u"نام کوچک"});
        add(named(CsvRole::Middle),
            {u"middle name", u"weitere vornamen", u"zweiter vorname", u"deuxième prénom",
             u"segundo nombre", u"secondo nome", u"middelste naam", u"tweede naam", u"segundo nome",
             u"отчество", u"ikinci ad", u"الاسم الأوسط", u"نام میانی"});
        add(named(CsvRole::Last),
            {u"last name", u"nachname", u"nom", u"nom de famille", u"apellidos", u"apellido",
             u"cognome", u"achternaam", u"sobrenome", u"apelido", u"apelidos", u"фамилия",
             u"soyadı", u"soyad", u"اسم العائلة", u"الاسم الأخير", u"نام خانوادگی"});
        add(named(CsvRole::Note),
            {u"notes", u"note", u"notizen", u"notiz", u"notas", u"nota", u"notities", u"notitie",
             u"anotações", u"observações", u"заметки", u"примечания", u"notlar", u"not", u"ملاحظات",
             u"یادداشت ها", u"یادداشت"});

        add(number(u"Mobile", Mobile),
            {u"mobile phone",
             u"mobile number",
             u"mobile",
             u"cell phone",
             u"mobiltelefon",
             u"mobil-tel.-nr.",
             u"handy",
             u"tél. mobile",
             u"téléphone mobile",
             u"portable",
             u"móvil",
             u"teléfono móvil",
             u"celular",
             u"cellulare",
             u"telefono cellulare",
             u"mobiele telefoon",
             u"mobiel",
             u"telefone celular",
             u"telemóvel",
             u"мобильный телефон",
             u"телефон переносной",
             u"сотовый телефон",
             u"cep telefonu",
             u"الهاتف المحمول",
             u"هاتف محمول",
             u"الجوال",
             u"تلفن همراه",
             u"موبایل"});
        add(number(u"Primary", Preferred),
            {u"primary phone", u"haupttelefon", u"téléphone principal", u"teléfono principal",
             u"telefono principale", u"hoofdtelefoon", u"telefone principal", u"основной телефон",
             u"birincil telefon", u"الهاتف الرئيسي", u"تلفن اصلی"});
        add(number(u"Work"),
            {u"business phone",
             u"business phone 2",
             u"work phone",
             u"telefon geschäftlich",
             u"telefon geschäftlich 2",
             u"tel. dienstlich",
             u"téléphone bureau",
             u"téléphone 2 bureau",
             u"teléfono del trabajo",
             u"teléfono del trabajo 2",
             u"ufficio",
             u"ufficio 2",
             u"telefono ufficio",
             u"telefoon op werk",
             u"telefoon op werk 2",
             u"telefone comercial",
             u"telefone comercial 2",
             u"telefone do trabalho",
             u"рабочий телефон",
             u"телефон раб. 2",
             u"iş telefonu",
             u"iş telefonu 2",
             u"هاتف العمل",
             u"تلفن محل کار",
             u"تلفن کار"});
        add(number(u"Home"),
            {u"home phone",
             u"home phone 2",
             u"telefon privat",
             u"telefon privat 2",
             u"tel. privat",
             u"téléphone domicile",
             u"téléphone 2 domicile",
             u"particular",
             u"teléfono particular",
             u"teléfono particular 2",
             u"abitazione",
             u"abitazione 2",
             u"telefono abitazione",
             u"telefoon thuis",
             u"telefoon thuis 2",
             u"telefone residencial",
             u"telefone residencial 2",
             u"telefone de casa",
             u"домашний телефон",
             u"телефон дом. 2",
             u"ev telefonu",
             u"ev telefonu 2",
             u"هاتف المنزل",
             u"تلفن منزل"});
        add(number(u"Other"),
            {u"other phone", u"weiteres telefon", u"autre téléphone", u"otro teléfono",
             u"altro telefono", u"ander telefoonnummer", u"overige telefoon", u"outro telefone",
             u"другой телефон", u"diğer telefon", u"هاتف آخر", u"تلفن دیگر"});
        add(number(u"Company"),
            {u"company main phone", u"telefon firma", u"téléphone société",
             u"número de centralita de la organización", u"telefono principale società",
             u"hoofdtelefoon bedrijf", u"telefone principal da empresa",
             u"основной телефон организации", u"şirket ana telefonu", u"هاتف الشركة الرئيسي",
             u"تلفن اصلی شرکت"});
        add(number(u"Car"),
            {u"car phone", u"autotelefon", u"téléphone voiture", u"teléfono del automóvil",
             u"telefono auto", u"autotelefoon", u"telefone do carro", u"телефон в машине",
             u"araç telefonu", u"هاتف السيارة", u"تلفن خودرو"});
        add(number(u"Assistant"),
            {u"assistant's phone", u"telefon assistent", u"téléphone de l'assistant(e)",
             u"teléfono del ayudante", u"telefono assistente", u"telefoon assistent",
             u"telefone do assistente", u"телефон помощника", u"yardımcının telefonu",
             u"هاتف المساعد", u"تلفن دستیار"});
        add(number(u"Phone"),
            {u"phone", u"telephone", u"telefon", u"téléphone", u"teléfono", u"telefono",
             u"telefoon", u"telefone", u"телефон", u"هاتف", u"الهاتف", u"شماره تلفن"});
        add(number(u"Callback", Secondary),
            {u"callback", u"rückmeldung", u"rappel", u"devolución de llamada",
             u"richiamata automatica", u"terugbellen", u"retorno de chamada", u"обратный вызов",
             u"geri arama", u"رد الاتصال", u"تماس برگشتی"});
        add(number(u"Radio", Secondary),
            {u"radio phone", u"funktelefon", u"radiotéléphone", u"radioteléfono", u"radiotelefono",
             u"radiotelefoon", u"radiofone", u"радиотелефон", u"telsiz telefon", u"هاتف لاسلكي",
             u"تلفن رادیویی"});
        add(number(u"ISDN", Secondary), {u"isdn", u"rnis", u"rdsi"});
        add(number(u"Telex", Secondary), {u"telex", u"teleks", u"телекс", u"تلکس"});
        add(number(u"TTY", Secondary),
            {u"tty/tdd phone", u"telefon für hörbehinderte", u"téléphone tdd/tty",
             u"teléfono tdd/tty", u"telefono tty/tdd", u"teksttelefoon", u"telefone tty/tdd",
             u"tty/tdd telefonu"});
        add(number(u"Work fax", Secondary),
            {u"business fax", u"fax geschäftlich", u"télécopie bureau", u"fax del trabajo",
             u"fax (uff.)", u"fax ufficio", u"fax op werk", u"fax comercial", u"рабочий факс",
             u"iş faksı", u"فاكس العمل", u"دورنگار محل کار", u"فکس محل کار"});
        add(number(u"Home fax", Secondary),
            {u"home fax", u"fax privat", u"télécopie personnelle", u"télécopie domicile",
             u"fax particular", u"fax (abitazione)", u"fax abitazione", u"fax thuis",
             u"fax residencial", u"домашний факс", u"ev faksı", u"فاكس المنزل", u"دورنگار منزل",
             u"فکس منزل"});
        add(number(u"Other fax", Secondary),
            {u"other fax", u"weiteres fax", u"autre télécopie", u"otro fax", u"altro fax",
             u"andere fax", u"outro fax", u"другой факс", u"diğer faks", u"فاكس آخر",
             u"دورنگار دیگر"});
        add(number(u"Fax", Secondary),
            {u"fax number", u"fax", u"fax-nummer", u"télécopie", u"факс", u"faks", u"فاكس",
             u"دورنگار", u"فکس"});
        add(number(u"Pager", Secondary),
            {u"pager", u"pager number", u"pager-nummer", u"récepteur de radiomessagerie",
             u"localizador", u"cercapersone", u"pieper", u"пейджер", u"çağrı cihazı",
             u"جهاز النداء", u"جهاز الاستدعاء", u"پیجر"});
        return known;
    }();
    return columns;
}

bool isName(CsvRole role)
{
    switch (role) {
    case CsvRole::FormattedName:
    case CsvRole::Given:
    case CsvRole::Additional:
    case CsvRole::Family:
    case CsvRole::DisplayName:
    case CsvRole::First:
    case CsvRole::Middle:
    case CsvRole::Last:
        return true;
    default:
        return false;
    }
}

} // namespace

QList<CsvColumn> csvColumns(const QStringList &header)
{
    static const QRegularExpression numbered(QStringLiteral("^phone (\\d+) - (value|type|label)$"));
    QList<CsvColumn> columns;
    QHash<QString, qsizetype> typeColumns; // by the phone's index in its header name
    QStringList valueIndexes; // the phone's index for each value column, else empty
    bool lastName = false;
    for (const QString &name : header) {
        const QString key = columnKey(name);
        const QRegularExpressionMatch match = numbered.match(key);
        if (!match.hasMatch()) {
            columns.append(knownColumns().value(key));
            valueIndexes.append(QString());
            lastName = lastName || columns.back().role == CsvRole::Last
                || columns.back().role == CsvRole::Family;
            continue;
        }
        const bool isValue = match.captured(2) == QStringLiteral("value");
        if (!isValue)
            typeColumns.insert(match.captured(1), columns.size());
        columns.append(named(isValue ? CsvRole::Number : CsvRole::NumberType));
        valueIndexes.append(isValue ? match.captured(1) : QString());
    }
    for (qsizetype i = 0; i < columns.size(); ++i) {
        // The type column may stand before or after its value.
        if (!valueIndexes[i].isEmpty())
            columns[i].typeColumn = typeColumns.value(valueIndexes[i], -1);
        if (lastName && columns[i].firstBesideLast)
            columns[i].role = CsvRole::First;
    }
    return columns;
}

bool holdsContacts(const QList<CsvColumn> &columns)
{
    for (const CsvColumn &column : columns) {
        if (isName(column.role) || (column.role == CsvRole::Number && !column.secondary))
            return true;
    }
    return false;
}

qsizetype knownColumnCount(const QList<CsvColumn> &columns)
{
    return std::count_if(columns.begin(), columns.end(),
                         [](const CsvColumn &column) { return column.role != CsvRole::Ignored; });
}

} // namespace dialvault
