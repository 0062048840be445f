<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fa">
<context>
    <name>CarryOver</name>
    <message numerus="yes">
        <source>%1 شماره از پرونده قديمي به دفترچه منتقل شد. پرونده قديمي با نام «%2» نگه داشته شد.</source>
        <translation>
            <numerusform>%1 entry was carried over from the old file into the phone book. The old file is kept as “%2”.</numerusform>
            <numerusform>%1 entries were carried over from the old file into the phone book. The old file is kept as “%2”.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CauseWords</name>
    <message>
        <source>اين نام در دفترچه تلفن نيست.</source>
        <translation>This name is not in the phone book.</translation>
    </message>
    <message>
        <source>پرونده دفترچه تلفن در دست برنامه ديگري است. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The phone book file is in use by another program. Try again in a moment.</translation>
    </message>
    <message>
        <source>پرونده دفترچه تلفن يا پوشه آن فقط خواندني است.</source>
        <translation>The phone book file or its folder is read-only.</translation>
    </message>
    <message>
        <source>جاي خالي ديسک تمام شده است.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>پرونده دفترچه تلفن پيدا نشد يا باز نمي شود.</source>
        <translation>The phone book file was not found or cannot be opened.</translation>
    </message>
    <message>
        <source>اين پرونده، دفترچه تلفن نيست.</source>
        <translation>This file is not a phone book.</translation>
    </message>
    <message>
        <source>پرونده دفترچه تلفن آسيب ديده است.</source>
        <translation>The phone book file is damaged.</translation>
    </message>
    <message>
        <source>جدول شماره ها (test) در اين پرونده نيست.</source>
        <translation>The table of entries (test) is not in this file.</translation>
    </message>
    <message>
        <source>يکي از ستون هاي جدول شماره ها در اين پرونده نيست.</source>
        <translation>A column of the table of entries is missing from this file.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن پاسخ نمي دهد يا در دسترس نيست. شبکه و روشن بودن سرور را بررسي کنيد و دوباره امتحان کنيد.</source>
        <translation>The phone book server does not answer or cannot be reached. Check the network and that the server is running, then try again.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن در زمان مقرر پاسخ نداد. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The phone book server did not answer in time. Try again in a moment.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن نام کاربري يا رمز را نپذيرفت.</source>
        <translation>The phone book server did not accept the user name or password.</translation>
    </message>
    <message>
        <source>شما اجازه اين کار را روي سرور دفترچه تلفن نداريد. مدير سرور بايد اين اجازه را به شما بدهد.</source>
        <translation>You are not allowed to do this on the phone book server. The server&apos;s administrator must give you the right.</translation>
    </message>
    <message>
        <source>دفترچه تلفن روي اين سرور آماده نشده است. مدير سرور بايد يک بار dialvault server-init را اجرا کند.</source>
        <translation>The phone book has not been prepared on this server. The server&apos;s administrator must run dialvault server-init once.</translation>
    </message>
    <message>
        <source>اتصال به سرور درست هنگام ثبت قطع شد و معلوم نيست ثبت شد يا نه. وقتي سرور دوباره پاسخ دهد بررسي مي شود.</source>
        <translation>The connection to the server broke just as the entry was being stored, so it is not known whether it was stored. This is checked when the server answers again.</translation>
    </message>
    <message>
        <source>خطاي پيش بيني نشده اي رخ داد.</source>
        <translation>An unexpected error occurred.</translation>
    </message>
    <message>
        <source> اجازه لازم: %1</source>
        <translation> The right needed: %1</translation>
    </message>
    <message>
        <source>در اين پرونده چيزي از برنامه ديگري هست، يا تکه اي از دفترچه تلفن در آن نيست؛ برنامه آن را به کار نمي برد تا چيزي از آن اجرا نشود.</source>
        <translation>This file holds something of another program&apos;s, or lacks a part of a phone book; the program does not use it, so that nothing in it can run.</translation>
    </message>
    <message>
        <source>اين پوشه پيوندي (symbolic link) به جاي ديگري است يا از آن شما نيست؛ برنامه در آن چيزي نمي نويسد و از آن چيزي پاک نمي کند.</source>
        <translation>This folder is a link (symbolic link) to another place, or is not yours; the program writes nothing in it and removes nothing from it.</translation>
    </message>
    <message>
        <source> بخش ناآشنا: %1</source>
        <translation> The foreign part: %1</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن شلوغ است: تعداد کساني که به آن وصل اند بيش از حد است. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The phone book server is busy: too many people are connected to it. Try again a little later.</translation>
    </message>
    <message>
        <source>دفترچه تلفن سرگرم تغييري از کس ديگري است. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The phone book is busy with another person&apos;s change. Try again a little later.</translation>
    </message>
    <message>
        <source>سرور اتصال را بست، چون کار نيمه تمام بيش از حد منتظر ماند. دوباره امتحان کنيد.</source>
        <translation>The server closed the connection because unfinished work waited too long. Try again.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن اکنون تغييري نمي پذيرد (سرور پشتيبان است يا فقط خواندني شده است). مدير سرور بايد آن را بررسي کند.</source>
        <translation>The phone book server takes no changes now (it is a standby, or has been made read-only). The server&apos;s administrator must look into it.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن اين داده ها را نپذيرفت: قاعده اي در جدول سرور با آن ها جور نيست.</source>
        <translation>The phone book server refused this data: a rule of the server&apos;s table does not agree with it.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن به خطايي از خود برخورد (حافظه، ديسک يا خطاي دروني آن). مدير سرور بايد گزارش سرور را ببيند.</source>
        <translation>The phone book server met a failure of its own (its memory, its disk or an internal error). The server&apos;s administrator must read the server&apos;s log.</translation>
    </message>
    <message>
        <source>سرور دفترچه تلفن در زمان مقرر پاسخ نداد و معلوم نيست ثبت شد يا نه. وقتي سرور دوباره پاسخ دهد بررسي مي شود.</source>
        <translation>The phone book server did not answer in the set time, and it is not known whether the entry was stored. It is checked when the server answers again.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 به يک مقدار نياز دارد</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 بايد fa يا en باشد</source>
        <translation>%1 must be fa or en</translation>
    </message>
    <message>
        <source>گزينه ناشناخته %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>%1 بايد يک عدد مثبت باشد</source>
        <translation>%1 must be a positive number</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>از %1 پشتيباني ساخته نشد: %2</source>
        <translation>no backup of %1 was made: %2</translation>
    </message>
    <message>
        <source>پشتيبان: %1</source>
        <translation>backup: %1</translation>
    </message>
    <message>
        <source>براي راهنما: dialvault --help</source>
        <translation>Try &apos;dialvault --help&apos;.</translation>
    </message>
    <message>
        <source>%1 آرگومان نمي گيرد</source>
        <translation>%1 takes no arguments</translation>
    </message>
    <message>
        <source>%1 به يک FILE نياز دارد</source>
        <translation>%1 needs one FILE</translation>
    </message>
    <message>
        <source>--import-jet به OLD.mdb و NEW.mdb نياز دارد</source>
        <translation>--import-jet needs OLD.mdb and NEW.mdb</translation>
    </message>
    <message>
        <source>فرمان ناشناخته &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>قالب %1 از نام آن معلوم نيست: --format را با vcard3، vcard4 يا csv بدهيد</source>
        <translation>the format of %1 is not known by its name: give --format vcard3, vcard4 or csv</translation>
    </message>
    <message>
        <source>--format بايد vcard3، vcard4 يا csv باشد</source>
        <translation>--format must be vcard3, vcard4 or csv</translation>
    </message>
    <message>
        <source>find به يک TEXT نياز دارد</source>
        <translation>find needs one TEXT</translation>
    </message>
    <message>
        <source>import دست کم به يک FILE نياز دارد</source>
        <translation>import needs at least one FILE</translation>
    </message>
    <message>
        <source>اين پرونده دفترچه تلفن نيست</source>
        <translation>it is not a phone book</translation>
    </message>
    <message>
        <source>اين پرونده آسيب ديده است</source>
        <translation>it is damaged</translation>
    </message>
    <message>
        <source>اين پرونده دفترچه تلفن ديال والت نيست</source>
        <translation>it is no phone book of Dialvault&apos;s</translation>
    </message>
    <message>
        <source>اين پرونده به کار نمي آيد</source>
        <translation>it could not be used</translation>
    </message>
    <message>
        <source>%1 بازگردانده نشد؛ %2: %3</source>
        <translation>%1 was not restored, %2: %3</translation>
    </message>
    <message>
        <source>دفترچه تلفن تغيير نکرد.</source>
        <translation>The phone book is unchanged.</translation>
    </message>
    <message>
        <source>بازگردانده شد: %1</source>
        <translation>restored: %1</translation>
    </message>
    <message>
        <source>دفترچه تلفن قبلي در %1 نگه داشته شد</source>
        <translation>the previous phone book is kept as %1</translation>
    </message>
    <message>
        <source>%1 به يک سرور نياز دارد: --server URL، يا DIALVAULT_SERVER</source>
        <translation>%1 needs a server: --server URL, or DIALVAULT_SERVER</translation>
    </message>
    <message>
        <source>دفترچه تلفن روي %1 کامل است: چيزي تغيير نکرد.</source>
        <translation>The phone book on %1 is complete: nothing was changed.</translation>
    </message>
    <message>
        <source>دفترچه تلفن روي %1 آماده است. ساخته شد: %2.</source>
        <translation>The phone book on %1 is ready. Made: %2.</translation>
    </message>
    <message>
        <source>اجازه هايي که هر کس در دفتر لازم دارد (نقش او، يا نقش گروهي که در آن شريک اند، را به جاي office_user بگذاريد):</source>
        <translation>The rights each person of the office needs (put their role, or a group role they share, in place of office_user):</translation>
    </message>
    <message>
        <source>دفترچه تلفن روي سرور %1 است: %2 فقط با دفترچه تلفن محلي کار مي کند. از ابزارهاي خود سرور استفاده کنيد: pg_dump --format=custom --table=test --table=test_count براي نگه داشتن نسخه اي از آن، و pg_restore براي بازگرداندن آن.</source>
        <translation>the phone book is on the server %1: %2 works on a local phone book only. Use the server&apos;s own tools: pg_dump --format=custom --table=test --table=test_count to keep a copy, pg_restore to put one back.</translation>
    </message>
    <message>
        <source>دفترچه تلفن: سرور %1</source>
        <translation>phone book: server %1</translation>
    </message>
    <message>
        <source>دفترچه تلفن: %1</source>
        <translation>phone book: %1</translation>
    </message>
    <message>
        <source>پشتيبان ها: %1</source>
        <translation>backups: %1</translation>
    </message>
    <message>
        <source>تنظيمات: %1</source>
        <translation>settings: %1</translation>
    </message>
    <message>
        <source>dialvault repair همه شماره ها را به دفترچه تازه اي مي برد و اين پرونده را در پوشه پشتيبان ها نگه مي دارد.</source>
        <translation>&apos;dialvault repair&apos; copies every entry into a phone book made afresh and keeps this file among the backups.</translation>
    </message>
    <message>
        <source>اين پرونده چيزي دارد که دفترچه تلفن ديال والت ندارد</source>
        <translation>it holds what a phone book of Dialvault&apos;s has not</translation>
    </message>
    <message>
        <source>طرز استفاده: dialvault [OPTIONS] [COMMAND [ARGUMENTS]]

بدون فرمان، ديال والت پنجره هايش را باز مي کند.

گزينه ها:
  --data-dir DIR   دفترچه تلفن را در DIR نگه مي دارد (همچنين DIALVAULT_DATA_DIR)
  --server URL     دفترچه تلفن روي يک سرور PostgreSQL را به کار مي برد، با نشاني
                   libpq مانند postgresql://user@host:5432/office?sslmode=require
                   (همچنين DIALVAULT_SERVER، يا تنظيم &quot;server&quot;)؛ رمزها از
                   ~/.pgpass، PGPASSWORD يا پرونده سرويس مي آيند
  --timeout SEC    براي هر دستور روي سرور بيش از SEC ثانيه صبر نمي کند (پيش فرض 15)
  --carddav URL    دفترچه نشاني CardDAV براي همگام سازي (همچنين تنظيم &quot;carddav&quot;)؛
                   رمز از انبار رمزهاي ميزکار، ~/.netrc يا DIALVAULT_CARDDAV_PASSWORD
  --allow-http     همگام سازي با http ساده با ماشيني ديگر، بي رمزنگاري
  --language LANG  زبان فرمان ها و پنجره ها: fa براي فارسي، en براي انگليسي

فرمان ها:
  --import-jet OLD.mdb NEW.mdb
                   دفترچه تلفني را که در پرونده Jet (Access) است به يک دفترچه
                   تلفن تازه از آن ديال والت منتقل مي کند
  where            نشان مي دهد دفترچه تلفن، پشتيبان هاي آن و تنظيمات کجا هستند
  backup           همين حالا از دفترچه تلفن پشتيبان مي سازد
  restore FILE     دفترچه تلفن FILE (يک پشتيبان) را به جاي دفترچه کنوني مي گذارد،
                   و دفترچه کنوني را به عنوان پشتيبان نگه مي دارد
  repair           نام، شماره، يادداشت و رديف هر شماره را در دفترچه تلفني که
                   تازه ساخته مي شود مي نويسد، براي دفترچه اي که به خاطر چيزي از
                   برنامه اي ديگر پذيرفته نشد؛ پرونده همان طور که بود به عنوان
                   پشتيبان نگه داشته مي شود
  import FILE...   شماره هاي پرونده هاي vCard (.vcf)، CSV (.csv) و Jet (.mdb) را به
                   دفترچه تلفن اضافه مي کند، هر پرونده يا همه يا هيچ؛ شماره هايي
                   که از پيش در آن هست کنار گذاشته مي شوند
  export FILE      همه شماره ها را در FILE مي نويسد: vCard 3.0 براي .vcf، CSV براي
                   .csv، يا --format vcard3، vcard4 يا csv؛ براي .pdf ليست چاپي
                   به ترتيب نام ها
  find TEXT        شماره هايي را نشان مي دهد که نامشان يا شماره شان TEXT را دارد
                   (متني از رقم ها در شماره ها جستجو مي شود)، هر کدام در يک سطر:
                   نام، شماره و سطر اول يادداشت؛ با --start فقط آن ها که با TEXT
                   شروع مي شوند. وضعيت خروج 0 اگر يکي پيدا شود، 1 اگر هيچ کدام
  server-init      دفترچه تلفن را روي سرور مي سازد (يا کامل يا بررسي مي کند) و
                   اجازه هايي را که هر کس لازم دارد نشان مي دهد
  server-push      دفترچه تلفن محلي را در يک تراکنش به سرور مي برد؛ شماره هايي
                   که از پيش آنجا هست کنار گذاشته مي شوند
  sync             دفترچه تلفن را با دفترچه نشاني CardDAV از دو سو همگام مي کند و
                   مي گويد در هر سو چه اضافه، تغيير يا حذف شد و ناسازگاري ها چه بود
  --help           همين متن را نشان مي دهد
  --version        نگارش برنامه را نشان مي دهد
</source>
        <translation>Usage: dialvault [OPTIONS] [COMMAND [ARGUMENTS]]

With no command, Dialvault opens its windows.

Options:
  --data-dir DIR   keep the phone book in DIR (also DIALVAULT_DATA_DIR)
  --server URL     use the phone book on a PostgreSQL server, a libpq URL such
                   as postgresql://user@host:5432/office?sslmode=require (also
                   DIALVAULT_SERVER, or the setting &quot;server&quot;); passwords come
                   from ~/.pgpass, PGPASSWORD or a service file
  --timeout SEC    wait at most SEC seconds for each statement on a server
                   (15 unless set)
  --carddav URL    the CardDAV address book to sync with (also the setting
                   &quot;carddav&quot;); its password comes from the desktop&apos;s secret
                   store, ~/.netrc or DIALVAULT_CARDDAV_PASSWORD
  --allow-http     sync over plain HTTP with another machine, unencrypted
  --language LANG  the language of the commands and the windows: fa for
                   Persian, en for English

Commands:
  --import-jet OLD.mdb NEW.mdb
                   carry a phone book kept in a Jet (Access) file over into a
                   new phone book of Dialvault&apos;s own
  where            show where the phone book, its backups and the settings are
  backup           make a backup of the phone book now
  restore FILE     put the phone book kept in FILE (a backup) in place of the
                   current one, which is kept as a backup
  repair           copy the name, number, note and row of every entry into a
                   phone book made afresh, for a phone book refused for holding
                   something of another program&apos;s; the file is kept as it
                   was, as a backup
  import FILE...   add the entries of vCard (.vcf), CSV (.csv) and Jet (.mdb)
                   files to the phone book, each file whole or not at all;
                   entries already there are skipped
  export FILE      write every entry to FILE: vCard 3.0 for .vcf, CSV for
                   .csv, or --format vcard3, vcard4 or csv; for .pdf the
                   printed list, by name
  find TEXT        show the entries whose name or number holds TEXT (a text
                   of digits looks at numbers), one a line: name, number and
                   the note&apos;s first line; with --start only those that start
                   with it. Exit status 0 when one matches, 1 when none does
  server-init      make the phone book on the server (or complete or check
                   it) and show the rights each person needs
  server-push      copy the local phone book to the server in one
                   transaction; entries already there are skipped
  sync             sync the phone book both ways with the CardDAV address
                   book, and say what was added, changed and deleted on each
                   side and the conflicts
  --help           show this text
  --version        show the program&apos;s version
</translation>
    </message>
    <message>
        <source>چيزي نيمه کاره نماند: همگام سازي را مي توانيد دوباره اجرا کنيد.</source>
        <translation>Nothing was left half done: you can run the sync again.</translation>
    </message>
    <message>
        <source>نسخه کنار گذاشته:</source>
        <translation>Put aside:</translation>
    </message>
</context>
<context>
    <name>DailyBackup</name>
    <message>
        <source>پشتيبان امروز دفترچه تلفن ساخته نشد. برنامه مثل هميشه کار مي کند.</source>
        <translation>Today&apos;s backup of the phone book could not be made. The program works as usual.</translation>
    </message>
</context>
<context>
    <name>DisplayCheck</name>
    <message>
        <source>ديال والت به يک نمايشگر گرافيکي نياز دارد و هيچ کدام تنظيم نشده است (DISPLAY و WAYLAND_DISPLAY خالي اند): آن را از يک نشست ميزکار اجرا کنيد، يا در يک نمايشگر مجازي با `xvfb-run -a %1`.</source>
        <translation>Dialvault needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty): start it from a desktop session, or under a virtual one with `xvfb-run -a %1`.</translation>
    </message>
</context>
<context>
    <name>FailureWords</name>
    <message>
        <source>(خطاي شماره %1: %2)</source>
        <translation>(error %1: %2)</translation>
    </message>
    <message>
        <source>پرونده: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>سرور: %1</source>
        <translation>Server: %1</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>برگرداندن آخرين کار: Ctrl+Alt+Z
انجام دوباره: Ctrl+Alt+Y يا Ctrl+Alt+Shift+Z</source>
        <translation>Undo the last change: Ctrl+Alt+Z
Redo: Ctrl+Alt+Y or Ctrl+Alt+Shift+Z</translation>
    </message>
</context>
<context>
    <name>ImportJet</name>
    <message>
        <source>%1 به %2 منتقل نشد: %3 (خطاي شماره %4)</source>
        <translation>%1 was not carried over into %2: %3 (error %4)</translation>
    </message>
    <message numerus="yes">
        <source>%1 شماره از %2 به %3 منتقل شد.</source>
        <translation>
            <numerusform>Carried over %1 entry from %2 into %3.</numerusform>
            <numerusform>Carried over %1 entries from %2 into %3.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InterfaceLanguage</name>
    <message>
        <source>fa</source>
        <comment>The code of the language of this translation</comment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>Layouts</name>
    <message>
        <source> معرفي نرم افزار</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>دفترچه تلفن</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>ver 2.03</source>
        <translation>ver 2.03</translation>
    </message>
    <message>
        <source>خروج</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>محل دفترچه تلفن</source>
        <translation>Where the phone book is</translation>
    </message>
    <message>
        <source>اين نرم افزار متعلق به گروه سازنده ديال والت است</source>
        <translation>This program belongs to the Dialvault team</translation>
    </message>
    <message>
        <source>نوشته شده در تاريخ   1383/5/28</source>
        <translation>Written on 1383/5/28</translation>
    </message>
    <message>
        <source>URL :</source>
        <translation>URL :</translation>
    </message>
    <message>
        <source>E-mail :</source>
        <translation>E-mail :</translation>
    </message>
    <message>
        <source>Written By the Dialvault team</source>
        <translation>Written By the Dialvault team</translation>
    </message>
    <message>
        <source>نگارش: 2.03</source>
        <translation>Version: 2.03</translation>
    </message>
    <message>
        <source>نوشته گروه ديال والت</source>
        <translation>By the Dialvault team</translation>
    </message>
    <message>
        <source>برنامه نويس</source>
        <translation>Programmer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>تائيد</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ليست مشترك ها</source>
        <translation>Entry list</translation>
    </message>
    <message>
        <source>تغير رنگ</source>
        <translation>Change colour</translation>
    </message>
    <message>
        <source>ذخيره رنگ</source>
        <translation>Save colour</translation>
    </message>
    <message>
        <source>راهنما</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>براي جستجو نام را وارد كرده و روي جستجو كليك كنيد</source>
        <translation>To search, type the name and click Search</translation>
    </message>
    <message>
        <source>براي حذف كردن شماره از دفترچه نام را وارد كرده و روي</source>
        <translation>To delete an entry, type its name and</translation>
    </message>
    <message>
        <source>حذف كردن كليك كنيد</source>
        <translation>click Delete</translation>
    </message>
    <message>
        <source>براي وارد كردن شماره به دفترچه نام و شماره را وارد كرده</source>
        <translation>To add an entry, type its name and phone,</translation>
    </message>
    <message>
        <source>روي اضافه كردن شماره كليك كنيد</source>
        <translation>then click Add</translation>
    </message>
    <message>
        <source>جستجو</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Josto joo</source>
        <translation>Find the phone and note of the name</translation>
    </message>
    <message>
        <source>khoroj</source>
        <translation>Close the program</translation>
    </message>
    <message>
        <source>:نـــــــام</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>در اين قسمت نام را وارد كنيد</source>
        <translation>Type the name here</translation>
    </message>
    <message>
        <source>در اين قسمت شماره تلفن را وارد كنيد</source>
        <translation>Type the phone number here</translation>
    </message>
    <message>
        <source>پاک کردن </source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>pak kardaneh filde ha</source>
        <translation>Clear the fields</translation>
    </message>
    <message>
        <source>:شماره تلفن</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>راهنمايي</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>rahnama</source>
        <translation>How to use the program</translation>
    </message>
    <message>
        <source>معرفي</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Moarefi barnameh</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>:يادداشت</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>:تعداد شماره هاي ذخيره شده</source>
        <translation>Entries stored:</translation>
    </message>
    <message>
        <source>ليست شماره ها</source>
        <translation>Entry list</translation>
    </message>
    <message>
        <source>Liste moshtarak ha</source>
        <translation>Show every entry</translation>
    </message>
    <message>
        <source>اضافه کردن </source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Ezafeh kardane shomare</source>
        <translation>Add the entry to the phone book</translation>
    </message>
    <message>
        <source>حذف</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>pak kardan az List</source>
        <translation>Delete the name&apos;s entry</translation>
    </message>
    <message>
        <source>Dialvault، ۱۳۸۳/۵/۲۸، نسخه 2.03</source>
        <translation>Dialvault, 1383/5/28, version 2.03</translation>
    </message>
    <message>
        <source>:جستجو</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>بخشي از نام يا شماره؛ Esc همه را نشان مي دهد</source>
        <translation>Part of a name or number; Esc shows every entry</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>آيا مطمئن هستيد که ميخواهيد خارج شويد؟</source>
        <translation>Are you sure you want to exit?</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>براي جستجو نام را وارد کنيد</source>
        <translation>Type a name to search for</translation>
    </message>
    <message>
        <source>براي اين نام شماره اي وجود ندرد.</source>
        <translation>There is no entry for this name.</translation>
    </message>
    <message>
        <source>براي اضافه کردن ابتدا نام و شماره تلفن را وارد کنيد</source>
        <translation>To add an entry, first type the name and the phone number</translation>
    </message>
    <message>
        <source>لطفا شماره را وارد کنيد</source>
        <translation>Please type the phone number</translation>
    </message>
    <message>
        <source>شماره شما با موفقيت ثبت شد.</source>
        <translation>Your entry was stored.</translation>
    </message>
    <message>
        <source>اضافه كردن شماره</source>
        <translation>Add entry</translation>
    </message>
    <message>
        <source>براي حذف كردن ابتدا نام را وارد كنيد</source>
        <translation>To delete an entry, first type its name</translation>
    </message>
    <message>
        <source>شماره اي براي اين نام وجود ندارد تا حذف شود.</source>
        <translation>There is no entry for this name to delete.</translation>
    </message>
    <message>
        <source>دفترچه تلفن باز نشد.</source>
        <translation>The phone book could not be opened.</translation>
    </message>
    <message>
        <source>اين شماره ذخيره نشد.</source>
        <translation>This entry was not stored.</translation>
    </message>
    <message>
        <source>معلوم نيست اين شماره ذخيره شد يا نه.</source>
        <translation>It is not known whether this entry was stored.</translation>
    </message>
    <message>
        <source>شماره «%1» که معلوم نبود ذخيره شده يا نه، اکنون در دفترچه تلفن ذخيره است.</source>
        <translation>The entry “%1”, which might not have been stored, is now in the phone book.</translation>
    </message>
    <message>
        <source>جستجو انجام نشد.</source>
        <translation>The search could not be done.</translation>
    </message>
    <message>
        <source>شماره اي حذف نشد.</source>
        <translation>No entry was deleted.</translation>
    </message>
    <message>
        <source>تعداد شماره ها به روز نشد.</source>
        <translation>The number of entries could not be shown again.</translation>
    </message>
    <message>
        <source>برنامه مي تواند نام، تلفن، يادداشت و رديف همه شماره ها را به دفترچه تلفن تازه اي ببرد و اين پرونده را همان طور که هست در پوشه پشتيبان ها (backups) نگه دارد. اين کار انجام شود؟</source>
        <translation>The program can copy the name, phone, note and row number of every entry into a new phone book, and keep this file as it is in the backups folder. Do it?</translation>
    </message>
    <message>
        <source>دفترچه تلفن تازه ساخته شد و همه شماره ها در آن است. پرونده پيشين اينجا نگه داشته شد:
%1</source>
        <translation>A new phone book was made with every entry in it. The earlier file is kept here:
%1</translation>
    </message>
    <message>
        <source>دفترچه تلفن تازه ساخته نشد؛ پرونده همان طور که بود مانده است.</source>
        <translation>No new phone book was made; the file is as it was.</translation>
    </message>
    <message>
        <source>اضافه کردن شماره</source>
        <translation>Adding the entry</translation>
    </message>
    <message numerus="yes">
        <source>حذف %n شماره</source>
        <translation>
            <numerusform>Deleting %n entry</numerusform>
            <numerusform>Deleting %n entries</numerusform>
        </translation>
    </message>
    <message>
        <source>اصلاح شماره</source>
        <translation>Correcting the entry</translation>
    </message>
    <message numerus="yes">
        <source>وارد کردن %n شماره</source>
        <translation>
            <numerusform>Importing %n entry</numerusform>
            <numerusform>Importing %n entries</numerusform>
        </translation>
    </message>
    <message>
        <source>کاري براي برگرداندن نيست.</source>
        <translation>There is nothing to undo.</translation>
    </message>
    <message>
        <source>کاري براي انجام دوباره نيست.</source>
        <translation>There is nothing to redo.</translation>
    </message>
    <message>
        <source>برگردانده شد: %1</source>
        <translation>Undone: %1</translation>
    </message>
    <message>
        <source>دوباره انجام شد: %1</source>
        <translation>Redone: %1</translation>
    </message>
    <message>
        <source>«%1» برگردانده نشد: کس ديگري در اين فاصله شماره را تغيير داده يا حذف کرده است.</source>
        <translation>“%1” was not undone: someone else has changed or deleted the entry meanwhile.</translation>
    </message>
    <message>
        <source>«%1» دوباره انجام نشد: کس ديگري در اين فاصله شماره را تغيير داده يا حذف کرده است.</source>
        <translation>“%1” was not redone: someone else has changed or deleted the entry meanwhile.</translation>
    </message>
    <message>
        <source>کار برگردانده نشد.</source>
        <translation>The change was not undone.</translation>
    </message>
    <message>
        <source>کار دوباره انجام نشد.</source>
        <translation>The change was not redone.</translation>
    </message>
</context>
<context>
    <name>PhoneBookPlace</name>
    <message>
        <source>دفترچه تلفن کنار برنامه است، ولي در اين پوشه نمي توان نوشت:
%1
برنامه به جاي آن دفترچه ديگري باز نمي کند. پوشه را قابل نوشتن کنيد، يا دفترچه (db1.mdb) را از کنار برنامه به اين پوشه ببريد:
%2</source>
        <translation>The phone book is beside the program, but this folder cannot be written to:
%1
The program does not open another phone book in its place. Make the folder writable, or move the phone book (db1.mdb) from beside the program to this folder:
%2</translation>
    </message>
</context>
<context>
    <name>PrintedList</name>
    <message>
        <source>فقط شماره هايي که «%1» دارند</source>
        <translation>Only the entries that hold “%1”</translation>
    </message>
    <message>
        <source>صفحه %1</source>
        <translation>Page %1</translation>
    </message>
</context>
<context>
    <name>ReadFault</name>
    <message>
        <source>فايل باز نشد</source>
        <translation>the file cannot be opened</translation>
    </message>
    <message>
        <source>فايل vCard يا CSV نيست</source>
        <translation>not vCard or CSV</translation>
    </message>
    <message>
        <source>ستون نام يا تلفن در ميان ستون ها نيست</source>
        <translation>no name or phone column among the columns</translation>
    </message>
    <message>
        <source>بايت هايي که در رمزگذاري فايل متن معتبر نيستند</source>
        <translation>bytes that are not valid text in the file&apos;s encoding</translation>
    </message>
    <message>
        <source>مجموعه نويسه ناشناخته</source>
        <translation>an unknown character set</translation>
    </message>
    <message>
        <source>مقدار quoted-printable يا base64 خراب است</source>
        <translation>a quoted-printable or base64 value that does not decode</translation>
    </message>
    <message>
        <source>کارتي که پايان ندارد</source>
        <translation>a card that never ends</translation>
    </message>
    <message>
        <source>متن بيرون از کارت</source>
        <translation>text outside a card</translation>
    </message>
    <message>
        <source>سطري که ويژگي vCard نيست</source>
        <translation>a line that is not a vCard property</translation>
    </message>
    <message>
        <source>نقل قولي که بسته نمي شود</source>
        <translation>a quoted cell that never closes</translation>
    </message>
    <message>
        <source>متن پس از بستن نقل قول</source>
        <translation>text after a closing quote</translation>
    </message>
    <message>
        <source>خانه هايي بيش از سطر عنوان</source>
        <translation>more cells than the header row has</translation>
    </message>
    <message>
        <source>خوانده نشد</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>the reason, then the columns the file holds</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>فايل معمولي نيست (دستگاه، لوله يا پوشه است)</source>
        <translation>not a regular file (a device, a pipe or a folder)</translation>
    </message>
    <message>
        <source>بزرگ تر از اندازه اي است که وارد مي شود</source>
        <translation>larger than an import takes</translation>
    </message>
</context>
<context>
    <name>SyncWords</name>
    <message>
        <source>هيچ دفترچه نشاني CardDAV تنظيم نشده است. نشاني آن را با --carddav URL يا تنظيم &quot;carddav&quot; بدهيد.</source>
        <translation>No CardDAV address book is set. Give its URL with --carddav URL or the setting &quot;carddav&quot;.</translation>
    </message>
    <message>
        <source>نشاني دفترچه نشاني با http است و رمز بي رمزنگاري به %1 فرستاده مي شد. از https استفاده کنيد، يا اگر همين را مي خواهيد --allow-http را بدهيد.</source>
        <translation>The address book&apos;s URL is plain http: the password would go unencrypted to %1. Use https, or give --allow-http if that is what you want.</translation>
    </message>
    <message>
        <source>نشاني دفترچه نشاني رمز دارد، و رمز نبايد در تنظيمات نوشته شود. آن را از نشاني برداريد و در انبار رمزهاي ميزکار يا در ~/.netrc بگذاريد.</source>
        <translation>The address book&apos;s URL holds a password, which must not be written in the settings. Take it out of the URL and keep it in the desktop&apos;s secret store or in ~/.netrc.</translation>
    </message>
    <message>
        <source>نشاني دفترچه نشاني درست نيست: بايد با https:// شروع شود.</source>
        <translation>The address book&apos;s URL is not right: it must start with https://.</translation>
    </message>
    <message>
        <source>رمز دفترچه نشاني پيدا نشد. آن را در انبار رمزهاي ميزکار، در ~/.netrc يا در DIALVAULT_CARDDAV_PASSWORD بگذاريد، و نام کاربري را در نشاني يا در ~/.netrc.</source>
        <translation>No password for the address book was found. Keep it in the desktop&apos;s secret store, in ~/.netrc or in DIALVAULT_CARDDAV_PASSWORD, and the user name in the URL or in ~/.netrc.</translation>
    </message>
    <message>
        <source>پرونده ~/.netrc را ديگران هم مي توانند بخوانند، پس رمزي از آن خوانده نمي شود. با chmod 600 ~/.netrc آن را خصوصي کنيد.</source>
        <translation>Others can read ~/.netrc, so no password is read from it. Make it private with chmod 600 ~/.netrc.</translation>
    </message>
    <message>
        <source>سرور دفترچه نشاني نام کاربري يا رمز را نپذيرفت.</source>
        <translation>The address book&apos;s server refused the user name or the password.</translation>
    </message>
    <message>
        <source>شما اجازه خواندن يا تغيير اين دفترچه نشاني را روي سرور نداريد.</source>
        <translation>You may not read or change this address book on the server.</translation>
    </message>
    <message>
        <source>سرور دفترچه نشاني در دسترس نيست. شبکه و نشاني را بررسي کنيد و دوباره امتحان کنيد.</source>
        <translation>The address book&apos;s server cannot be reached. Check the network and the URL and try again.</translation>
    </message>
    <message>
        <source>گواهي امنيتي سرور دفترچه نشاني معتبر نيست، پس چيزي به آن فرستاده نشد.</source>
        <translation>The address book&apos;s server has a certificate that is not trusted, so nothing was sent to it.</translation>
    </message>
    <message>
        <source>سرور دفترچه نشاني در زمان مقرر پاسخ نداد. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The address book&apos;s server did not answer in time. Try again a little later.</translation>
    </message>
    <message>
        <source>اين نشاني، دفترچه نشاني CardDAV نيست. نشاني خود دفترچه نشاني را بدهيد.</source>
        <translation>This URL is not a CardDAV address book. Give the URL of the address book itself.</translation>
    </message>
    <message>
        <source>سرور دفترچه نشاني پاسخي داد که معنايي ندارد.</source>
        <translation>The address book&apos;s server gave an answer that makes no sense.</translation>
    </message>
    <message>
        <source>سرور دفترچه نشاني با خطا پاسخ داد. کمي بعد دوباره امتحان کنيد.</source>
        <translation>The address book&apos;s server answered with a failure. Try again a little later.</translation>
    </message>
    <message>
        <source>شماره هاي دفترچه تلفن در همان حال پي در پي تغيير کردند. دوباره امتحان کنيد.</source>
        <translation>The phone book&apos;s entries kept changing meanwhile. Try again.</translation>
    </message>
    <message>
        <source>در دفترچه تلفن: %1 اضافه، %2 تغيير، %3 حذف</source>
        <translation>In the phone book: %1 added, %2 changed, %3 deleted</translation>
    </message>
    <message>
        <source>در دفترچه نشاني: %1 اضافه، %2 تغيير، %3 حذف</source>
        <translation>In the address book: %1 added, %2 changed, %3 deleted</translation>
    </message>
    <message>
        <source>ناسازگاري: هيچ</source>
        <translation>Conflicts: none</translation>
    </message>
    <message>
        <source>ناسازگاري: %1 (نسخه سرور نگه داشته شد و نسخه اينجا کنار گذاشته شد)</source>
        <translation>Conflicts: %1 (the server&apos;s version was kept and the one here put aside)</translation>
    </message>
    <message>
        <source>کارت هاي کنار گذاشته: %1 (گروه ها، کارت هاي بي نام و شماره، يا کارت هايي که خوانده نشدند)</source>
        <translation>Cards passed over: %1 (groups, cards without a name or number, or cards that could not be read)</translation>
    </message>
    <message>
        <source>همگام سازي در زمان مقرر تمام نشد، پس در دفترچه تلفن چيزي تغيير نکرد. کمي بعد دوباره امتحان کنيد: آنچه به سرور رسيده است دوباره فرستاده نمي شود.</source>
        <translation>The sync did not end in the time set, so nothing changed in the phone book. Try again a little later: what reached the server is not sent again.</translation>
    </message>
</context>
<context>
    <name>TransferTexts</name>
    <message numerus="yes">
        <source>%1 شماره اضافه شد، %2 شماره تکراري کنار گذاشته شد، %3 مورد بي نام و شماره بود.</source>
        <translation>
            <numerusform>%1 added, %2 duplicate skipped, %3 without name or number</numerusform>
            <numerusform>%1 added, %2 duplicates skipped, %3 without name or number</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>the summary of an import, then a file&apos;s note</comment>
        <translation>%1; %2</translation>
    </message>
    <message numerus="yes">
        <source>پرونده %1 با رمزگذاري %2 خوانده شد و %3 سطر آن کنار گذاشته شد.</source>
        <translation>
            <numerusform>%1: read as %2, %3 line skipped</numerusform>
            <numerusform>%1: read as %2, %3 lines skipped</numerusform>
        </translation>
    </message>
    <message>
        <source>پرونده %1 با رمزگذاري %2 خوانده شد.</source>
        <translation>%1: read as %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 سطر پرونده %2 کنار گذاشته شد.</source>
        <translation>
            <numerusform>%2: %1 line skipped</numerusform>
            <numerusform>%2: %1 lines skipped</numerusform>
        </translation>
    </message>
    <message>
        <source>پرونده %1، سطر %2</source>
        <translation>%1, line %2</translation>
    </message>
    <message>
        <source>پرونده %1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 اضافه نشد: %2</source>
        <translation>%1 was not imported: %2</translation>
    </message>
    <message>
        <source>معلوم نيست پرونده %1 به دفترچه تلفن اضافه شد يا نه: %2 اگر آن را دوباره اضافه کنيد، شماره هاي ثبت شده تکراري شمرده و کنار گذاشته مي شوند.</source>
        <translation>it is not known whether %1 was imported: %2 Importing it again is safe: the entries already stored are skipped as duplicates.</translation>
    </message>
    <message>
        <source>پرونده %1 به دفترچه تلفن اضافه نشد: %2</source>
        <translation>%1 was not imported: %2</translation>
    </message>
    <message>
        <source>پرونده %1 نوشته نشد: %2</source>
        <translation>%1 was not written: %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 شماره در پرونده %2 نوشته شد.</source>
        <translation>
            <numerusform>%1 entry written to %2</numerusform>
            <numerusform>%1 entries written to %2</numerusform>
        </translation>
    </message>
    <message>
        <source>دفترچه تلفن باز نشد: %1
سرور: %2</source>
        <translation>the phone book on the server %2 could not be opened: %1</translation>
    </message>
    <message>
        <source>دفترچه تلفن باز نشد: %1
پرونده: %2</source>
        <translation>the phone book %2 could not be opened: %1</translation>
    </message>
    <message>
        <source>دفترچه تلفن تازه و خالي در پوشه %1 ساخته شد.</source>
        <translation>made a new empty phone book in %1</translation>
    </message>
</context>
<context>
    <name>dialvault::CodePromptWindow</name>
    <message>
        <source>رمز عبور اشتباه مي باشد.</source>
        <translation>The password is wrong.</translation>
    </message>
</context>
<context>
    <name>dialvault::ContactListMenu</name>
    <message>
        <source>vCard (*.vcf)</source>
        <translation>vCard (*.vcf)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>ذخيره شماره ها</source>
        <translation>Save the entries</translation>
    </message>
    <message>
        <source>جستجو</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>بخشي از نام يا شماره:</source>
        <translation>Part of a name or number:</translation>
    </message>
    <message>
        <source>نام يا شماره اي با اين بخش پيدا نشد.</source>
        <translation>No name or number holds this part.</translation>
    </message>
    <message>
        <source>ذخيره همه شماره ها در پرونده vCard يا CSV...</source>
        <translation>Save every entry in a vCard or CSV file...</translation>
    </message>
    <message>
        <source>جستجوي بخشي از نام يا شماره...</source>
        <translation>Find part of a name or number...</translation>
    </message>
    <message>
        <source>ليست چاپ نشد.</source>
        <translation>The list was not printed.</translation>
    </message>
    <message>
        <source>ذخيره به صورت PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>چاپ...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>ذخيره به صورت PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>همگام سازي با دفترچه نشاني</source>
        <translation>Sync with the address book</translation>
    </message>
</context>
<context>
    <name>dialvault::ContactListWindow</name>
    <message>
        <source>ليست شماره ها باز نشد.</source>
        <translation>The entry list could not be opened.</translation>
    </message>
    <message>
        <source>ليست مرتب يا محدود نشد.</source>
        <translation>The list could not be ordered or narrowed.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln مورد</source>
        <translation>
            <numerusform>%Ln entry</numerusform>
            <numerusform>%Ln entries</numerusform>
        </translation>
    </message>
    <message>
        <source>اصلاح ذخيره نشد.</source>
        <translation>The correction was not stored.</translation>
    </message>
    <message>
        <source>حذف نشد.</source>
        <translation>Nothing was deleted.</translation>
    </message>
    <message>
        <source>حذف رديف هاي انتخاب شده</source>
        <translation>Delete the selected rows</translation>
    </message>
    <message>
        <source>حذف شده هاي اخير...</source>
        <translation>Recently deleted...</translation>
    </message>
    <message>
        <source>كس ديگري در اين فاصله اين شماره را تغيير داده است و اصلاح ذخيره نشد. آنچه اكنون ذخيره است نشان داده مي شود.</source>
        <translation>Someone else changed this entry meanwhile, so the correction was not stored. The list shows what is stored now.</translation>
    </message>
    <message>
        <source>كس ديگري در اين فاصله اين شماره را حذف كرده است و اصلاح ذخيره نشد.</source>
        <translation>Someone else deleted this entry meanwhile, so the correction was not stored.</translation>
    </message>
    <message>
        <source>كس ديگري در اين فاصله شماره هايي را تغيير داده يا حذف كرده است و چيزي حذف نشد. آنچه اكنون ذخيره است نشان داده مي شود.</source>
        <translation>Someone else changed or deleted some of these entries meanwhile, so nothing was deleted. The list shows what is stored now.</translation>
    </message>
    <message>
        <source>كار برگردانده نشد.</source>
        <translation>The step was not undone.</translation>
    </message>
    <message>
        <source>كار دوباره انجام نشد.</source>
        <translation>The step was not redone.</translation>
    </message>
    <message>
        <source>برگردانده نشد: كس ديگري در اين فاصله شماره را تغيير داده يا حذف كرده است.</source>
        <translation>Not undone: someone else has changed or deleted the entry meanwhile.</translation>
    </message>
    <message>
        <source>دوباره انجام نشد: كس ديگري در اين فاصله شماره را تغيير داده يا حذف كرده است.</source>
        <translation>Not redone: someone else has changed or deleted the entry meanwhile.</translation>
    </message>
    <message>
        <source>برگرداندن</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>انجام دوباره</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>dialvault::RecentlyDeletedWindow</name>
    <message>
        <source>ناسازگاري در همگام سازي</source>
        <translation>Sync conflict</translation>
    </message>
    <message>
        <source>حذف</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>زمان حذف</source>
        <translation>Deleted at</translation>
    </message>
    <message>
        <source>علت</source>
        <translation>Why</translation>
    </message>
    <message>
        <source>بازگرداندن</source>
        <translation>Put back</translation>
    </message>
    <message>
        <source>خروج</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>حذف شده هاي اخير</source>
        <translation>Recently deleted</translation>
    </message>
    <message>
        <source>حذف شده هاي اخير خوانده نشد.</source>
        <translation>The recently deleted entries could not be read.</translation>
    </message>
    <message numerus="yes">
        <source>در %Ln روز گذشته چيزي حذف نشده است.</source>
        <translation>
            <numerusform>Nothing was deleted in the last %Ln day.</numerusform>
            <numerusform>Nothing was deleted in the last %Ln days.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln مورد از تازه ترين حذف شده ها؛ آنها را كه مي خواهيد انتخاب كنيد و «بازگرداندن» را بزنيد.</source>
        <translation>
            <numerusform>The %Ln most recently deleted entry; select those you want and press “Put back”.</numerusform>
            <numerusform>The %Ln most recently deleted entries; select those you want and press “Put back”.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln مورد در %L1 روز گذشته حذف شده است؛ آنها را كه مي خواهيد انتخاب كنيد و «بازگرداندن» را بزنيد.</source>
        <translation>
            <numerusform>%Ln entry was deleted in the last %L1 days; select those you want and press “Put back”.</numerusform>
            <numerusform>%Ln entries were deleted in the last %L1 days; select those you want and press “Put back”.</numerusform>
        </translation>
    </message>
    <message>
        <source>بازگردانده نشد.</source>
        <translation>Nothing was put back.</translation>
    </message>
    <message>
        <source>چيزي بازگردانده نشد: كس ديگري در اين فاصله برخي از اين موارد را بازگردانده يا براي هميشه پاك كرده است.</source>
        <translation>Nothing was put back: someone else has put back or removed some of these entries meanwhile.</translation>
    </message>
</context>
<context>
    <name>dialvault::SyncRunner</name>
    <message>
        <source>همگام سازي با دفترچه نشاني انجام شد.</source>
        <translation>The phone book was synced with the address book.</translation>
    </message>
    <message>
        <source>همگام سازي با دفترچه نشاني انجام نشد، و در دفترچه تلفن چيزي نيمه کاره نماند.</source>
        <translation>The phone book was not synced with the address book, and nothing was left half done in it.</translation>
    </message>
</context>
</TS>
