#!/usr/bin/python3
"""The web-host pages as a visitor meets them, against the test run's MariaDB.

  pages_test.py wine-start|wine-stop PREFIX
  pages_test.py CASE CLI SANDBOX_DIR FIXTURE_DIR TESTDATA_DIR WORK_DIR PREFIX

Each page runs under Wine's cscript with the stand-in ASP objects of stand_ins.vbs; the pages
are followed as a browser follows them (forms submitted, location targets opened), and the
table they leave on the server is compared cell by cell with the one `kavero-cli copy` makes.
CASE "statements" needs no Wine: it turns the statements of every copy page of every table of
the real Access files back into SQL, runs them and compares the same way.
"""
import html5lib, os, pyodbc, re, shutil, subprocess, sys, time, urllib.parse
from pathlib import Path

END = '<!-- page ran to its end -->'

class Failure(Exception):
    pass

def check(ok, what):
    if not ok:
        raise Failure(what)

def wine_env(prefix):
    # Wine 8's cscript reads a script in the ANSI code page and its ChrW is a stub; a locale
    # without an ANSI code page (Hindi) makes that code page UTF-8, so every character arrives.
    return dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=',
                LC_ALL='hi_IN.UTF-8', DISPLAY='')

def wine_fixture(action, prefix):
    """One prefix and one kept-running wine server for the whole test run."""
    log = open(f'{prefix}.log', 'ab')
    run = lambda *args: subprocess.run(['timeout', '120', *args], env=wine_env(prefix), stdin=subprocess.DEVNULL,
                                       stdout=log, stderr=log, check=True)
    if action == 'wine-stop' and prefix.is_dir():
        run('wineserver', '-k')
    shutil.rmtree(prefix, ignore_errors=True)
    if action == 'wine-start':
        prefix.mkdir(parents=True)
        run('wineserver', '-p')
        run('wineboot', '-i')
        # A crash must end the page at once, not wait in the debugger.
        run('wine', 'reg', 'add', r'HKCU\Software\Wine\AeDebug', '/v', 'Debugger', '/t', 'REG_SZ', '/d', '', '/f')

# ---- the page as a script and its server ------------------------------------------------------

def vb(text):
    """A VBScript expression for `text`; control characters become Chr() pieces."""
    return '"' + re.sub(r'[\x00-\x1f]', lambda m: f'" & Chr({ord(m[0])}) & "', text.replace('"', '""')) + '"'

def asp_to_vbs(page):
    """Text as Response.Write, <%= e %> as Response.Write (e), code as it stands. Like ASP, a
    code block ends at the first %>, inside a string literal or not."""
    parts, at = [], 0
    while at < len(page):
        start = page.find('<%', at)
        if start != at:
            parts.append('Response.Write ' + vb(page[at:None if start < 0 else start]))
        if start < 0:
            break
        end = page.find('%>', start)
        check(end > 0, 'a code block without %>')
        code = page[start + 2:end]
        parts.append('' if code.startswith('@') else f'Response.Write ({code[1:]})' if code.startswith('=') else code)
        at = end + 2
    return '\r\n'.join(parts)

def win(path):
    return 'Z:' + str(path).replace('/', '\\')

def read(path):
    check(path.exists(), f'no page {path.name}')
    return path.read_bytes().decode('utf-8')

def parse(text):
    return html5lib.parse(text, namespaceHTMLElements=False)

def connect(text):
    # The driver's wide functions garble some texts (Connector/ODBC 3.1.15); its narrow ones carry
    # UTF-8 unchanged with charset=utf8mb4, and are the ones the program itself uses.
    connection = pyodbc.connect(text, autocommit=True, ansi=True)
    connection.setencoding(encoding='utf-8')
    for kind in (pyodbc.SQL_CHAR, pyodbc.SQL_WCHAR):
        connection.setdecoding(kind, encoding='utf-8')
    return connection

class Server:
    """Runs pages under cscript and answers their connection's calls through pyodbc."""

    def __init__(self, work, prefix):
        self.work, self.env, self.runs, self.connects = work, wine_env(prefix), 0, []
        self.prelude = read(Path(__file__).parent / 'stand_ins.vbs')

    def run(self, folder, name, query=(), form=()):
        self.runs += 1
        run = self.work / f'run{self.runs}'
        (run / 'spool').mkdir(parents=True)
        lines = [self.prelude, f'KaveroSpool = "{win(run / "spool")}\\"', f'Response.Start "{win(run / "out.txt")}"']
        lines += [f'KaveroQuery.Add {vb(k)}, {vb(v)}' for k, v in query]
        lines += [f'KaveroForm.Add {vb(k)}, {vb(v)}' for k, v in form]
        lines += [asp_to_vbs(read(folder / name)), f'Response.Finish "{END}"']
        (run / 'page.vbs').write_bytes('\r\n'.join(lines).encode('utf-8'))
        with open(run / 'wine.log', 'wb') as log:
            wine = subprocess.Popen(['timeout', '-k', '5', '60', 'wine', 'cscript', '//nologo', win(run / 'page.vbs')],
                                    env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            self.serve(run / 'spool', wine)
        out = run / 'out.txt'
        text = out.read_bytes().decode('utf-16') if out.exists() else ''
        check(text.endswith(END), f'{name} did not run to its end (WINEDEBUG=fixme+vbscript tells why): {run}')
        return parse(text[:-len(END)])

    def serve(self, spool, wine):
        connection, answered = None, set()
        while True:
            ended = wine.poll() is not None
            for request in sorted(set(spool.glob('*.req')) - answered, key=lambda p: int(p.stem)):
                # Left in place: Wine's MoveFile now and then fails when its new file vanishes at once.
                answered.add(request)
                kind, _, text = request.read_bytes().decode('utf-16').partition('\n')
                answer = '0\n\n'
                try:
                    if kind == 'open':
                        self.connects.append(text)
                        connection = connect(text)
                    elif kind == 'urlencode':
                        answer += urllib.parse.quote_plus(text)
                    elif connection is None:
                        answer = '3709\nThe connection cannot be used to perform this operation.\n'
                    elif kind == 'close':
                        connection = connection.close()
                    else:
                        answer += records(connection.execute(text))
                except pyodbc.Error as e:
                    m = re.fullmatch(r'\[\w+\] (.*) \((\d+)\) \(SQL\w+\)', e.args[1], re.S)
                    number, description = (m[2], m[1]) if m else ('1', e.args[1])
                    answer = f'{number}\n{description.replace(chr(10), " ")}\n'
                request.with_suffix('.answer').write_bytes(answer.encode('utf-16'))
                request.with_suffix('.answer').replace(request.with_suffix('.res'))
            if ended:
                return connection and connection.close()
            time.sleep(0.002)

def records(cursor):
    """A result as the stand-in record set reads it: length:text cells (-1: for Null), the
    column count, the names, then the values row by row."""
    if cursor.description is None:
        return ''
    cells = [str(len(cursor.description))] + [d[0] for d in cursor.description]
    cells += [None if v is None else v.hex() if isinstance(v, bytes) else str(v) for row in cursor for v in row]
    return ''.join('-1:' if c is None else f'{len(c.encode("utf-16-le")) // 2}:{c}' for c in cells)

# ---- the pages as a browser sees them --------------------------------------------------------

def static_page(folder, name):
    """A page without its server code, as the fast layer reads it."""
    return parse(re.sub(r'<%.*?%>', '', read(folder / name), flags=re.S))

# html5lib 1.1 keeps the line break that follows <textarea> when the text area stands in a
# table cell; a browser drops it there as everywhere.
CELL_KEEPS_BREAK = parse('<table><tr><td><textarea>\nx').find('.//textarea').text == '\nx'

def forms(doc):
    found, in_cells = [], [t for td in doc.iter('td') for t in td.iter('textarea')]
    for form in doc.iter('form'):
        controls = [e for e in form.iter() if e.tag in ('input', 'textarea')]
        fields = []
        for e in controls:
            value = e.get('value', '')
            if e.tag == 'textarea':
                value = e.text or ''
                value = value[1:] if CELL_KEEPS_BREAK and e in in_cells and value.startswith('\n') else value
                value = re.sub(r'\r\n|\r|\n', '\r\n', value)  # as a browser submits it
            if e.get('name'):
                fields.append((e.get('name'), e.get('type', 'textarea'), value))
        buttons = [(e.get('type'), e.get('value')) for e in controls if e.get('type') in ('submit', 'reset')]
        found.append(dict(name=form.get('name'), method=form.get('method'), action=form.get('action'),
                          fields=fields, buttons=buttons))
    return found

def submit(form, password=None):
    """The fields a browser sends; a password field gets what the visitor typed."""
    return [(n, password if t == 'password' and password is not None else v) for n, t, v in form['fields']]

def follow(start_form, open_page, password=None):
    """Presses the start page's button and follows each page's location target: (name, query
    pairs, page) in the order opened."""
    chain, target = [], (start_form['action'], submit(start_form, password))
    while target:
        check(len(chain) < 10000 and '/' not in target[0], f'chain goes on to {target[0]}')
        chain.append((*target, open_page(*target)))
        target = None
        for script in chain[-1][2].iter('script'):
            m = re.search(r"location\.replace\('([^']*)'\)", script.text or '')
            if m:
                page, _, query = m[1].partition('?')
                target = page, urllib.parse.parse_qsl(query, keep_blank_values=True, errors='strict')
    return chain

def texts(cells):
    return [''.join(e.itertext()) for e in cells]

def stripes(first, second, rows):
    return ([first, second] * rows)[:rows]

def result_rows(doc):
    """(colour, cell texts) of each statement row of a result table."""
    return [(m[1], texts(tr.iter('td'))) for tr in doc.iter('tr')
            if (m := re.fullmatch(r'background-color: (#\w+)', tr.get('style', '')))]

def cell_after(doc, text):
    cells = texts(doc.iter('td'))
    return cells[cells.index(text) + 1] if text in cells else f'no cell {text!r}'

def listed_lines(doc):
    """endcopy.asp's list: the text before each <br>."""
    p = doc.find('body').findall('p')[-1]
    lines, line = [], p.text or ''
    for e in p:
        if e.tag == 'br':
            lines.append(line.lstrip('\r\n'))
            line = ''
        else:
            line += ''.join(e.itertext())
        line += e.tail or ''
    return lines

def expect_pages(folder, create, start, chain, login, total, per_page, script, typed):
    """The frame set, the forms of createtable.asp and startcopy.asp with the values they must
    hand on, and the copy pages in order, each opened with sc, tr, ip and the login."""
    frames = [(f.get('name'), f.get('src')) for f in static_page(folder, 'main.asp').iter('frame')]
    check(frames == [('header', 'createtable.asp'), ('main', 'startcopy.asp')], f'frames {frames}')
    s, d, u, p = login
    shown, kind = ('', 'password') if typed else (p, None)
    want = dict(name='KAVERO', method='post', action='createtable.asp',
                fields=[('s', 'text', s), ('d', 'text', d), ('u', 'text', u), ('p', kind or 'text', shown),
                        ('q', 'textarea', script), ('cmd', 'hidden', 'run')],
                buttons=[('submit', 'Submit to mySQL server'), ('reset', 'Reset')])
    check(forms(create) == [want], f'createtable.asp form: {forms(create)}')
    pages = -(-total // per_page)
    want = dict(name='KAVERO', method='get', action='startcopy1.asp' if total else 'endcopy.asp',
                fields=[('cmd', 'hidden', 'run'), ('s', 'hidden', s), ('d', 'hidden', d), ('u', 'hidden', u),
                        ('p', kind or 'hidden', shown), ('tr', 'hidden', str(total)), ('ip', 'hidden', str(per_page)),
                        ('sc', 'hidden', str(min(1, pages)))],
                buttons=[('submit', f'Start copy {total} records to your mySQL server')])
    check(forms(start) == [want], f'startcopy.asp form: {forms(start)}')
    names = [name for name, _, _ in chain]
    check(names == [f'startcopy{n}.asp' for n in range(1, pages + 1)] + ['endcopy.asp'], f'chain {names}')
    for n, (name, query, _) in enumerate(chain, 1):
        got = {k: v for k, v in query if k != 'cmd'}
        want = dict(ip=str(per_page), tr=str(total), sc=str(min(n, pages)), s=s, d=d, u=u, p=p)
        check(got == want, f'{name} opened with {got}, not {want}')

# ---- the server side ----------------------------------------------------------------------------

class Suite:
    def __init__(self, cli, sandbox, fixtures, testdata, work, prefix):
        self.cli, self.fixtures, self.testdata, self.work = cli, Path(fixtures), Path(testdata), Path(work)
        env_file = Path(sandbox) / 'env'
        if not env_file.exists():
            print(f'SKIP: no sandbox server in {sandbox}')
            sys.exit(1 if os.environ.get('CI') == 'true' else 77)
        self.env = dict(re.findall(r"export (\w+)='([^']*)'", env_file.read_text()))
        self.port, self.user, self.password = (self.env[f'KAVERO_TEST_{k}'] for k in ('PORT', 'USER', 'PASSWORD'))
        shutil.rmtree(self.work, ignore_errors=True)
        (self.work / 'odbc').mkdir(parents=True)
        libdir = subprocess.run(['pkg-config', '--variable=libdir', 'libmaodbc'], capture_output=True, text=True)
        (self.work / 'odbc/odbcinst.ini').write_text(f'[MySql]\nDriver = {libdir.stdout.strip()}/libmaodbc.so\n')
        os.environ.update(ODBCSYSINI=str(self.work / 'odbc'), ODBCINI=str(self.work / 'odbc/odbc.ini'))
        self.server, self.outs = Server(self.work, Path(prefix)), 0

    def sql(self, text, database='', root=False, check_status=True):
        """Runs SQL through the mariadb client (given on standard input); rows of cells."""
        login = ['-uroot'] if root else ['-u', self.user]
        r = subprocess.run(['mariadb', '--no-defaults', '-N', '-B', '--force', '-S', self.env['KAVERO_TEST_SOCKET'],
                            *login, *([database] if database else [])], input=text, capture_output=True, text=True,
                           env=dict(os.environ, MYSQL_PWD='' if root else self.password))
        check(r.returncode == 0 or not check_status, f'mariadb: {r.stderr.strip()}')
        return [line.split('\t') for line in r.stdout.splitlines()]

    def fresh(self, *databases):
        self.sql(''.join(f'DROP DATABASE IF EXISTS `{d}`; CREATE DATABASE `{d}` CHARACTER SET utf8mb4;'
                         for d in databases))

    def image(self, database, table):
        """Column types and every cell's bytes, rows sorted; empty when there is no table."""
        name = table.replace("'", "''")
        columns = self.sql(f"SELECT COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT FROM information_schema."
                           f"COLUMNS WHERE TABLE_SCHEMA='{database}' AND TABLE_NAME='{name}' ORDER BY ORDINAL_POSITION")
        cells = ', '.join('HEX(CONCAT(`%s`))' % c[0].replace('`', '``') for c in columns)
        return columns and (columns, sorted(self.sql(f'SELECT {cells} FROM `{database}`.`{table.replace("`", "``")}`')))

    def same_tables(self, pages_db, direct_db, table):
        pages, direct = self.image(pages_db, table), self.image(direct_db, table)
        check(pages == direct, f'{table}: the pages left {pages and pages[0]} with {pages and len(pages[1])} rows; '
                               f'the direct copy {direct and direct[0]} with {direct and len(direct[1])}')

    def kavero(self, *args, password=''):
        env = dict(os.environ, KAVERO_MYSQL_PASSWORD=password, ODBCSYSINI=self.env['ODBCSYSINI'],
                   ODBCINI=self.env['ODBCINI'])
        return subprocess.run([self.cli, *map(str, args)], capture_output=True, text=True, env=env,
                              stdin=subprocess.DEVNULL)

    def direct_copy(self, file, table, database, options, table_may_fail=False):
        """kavero-cli copy: (records read, numbers of the refused records), or (None, None) when
        the server refused to create the table and that may happen."""
        r = self.kavero('copy', file, table, '--dsn', self.env['KAVERO_TEST_DSN'], '--database', database,
                        '--user', self.user, '--records', '--yes', *options, password=self.password)
        if table_may_fail and r.returncode == 1 and not self.image(database, table):
            return None, None
        read = re.search(r'^Records read (\d+), copied \d+, rejected (\d+)', r.stderr, re.M)
        check(r.returncode in (0, 3) and read, f'copy {table}: {r.returncode} {r.stderr}')
        refused = {int(n) for n in re.findall(r'^record (\d+): ', r.stderr, re.M)}
        check(len(refused) == int(read[2]), f'copy {table}: refused lines {refused}, summary {read[0]}')
        return int(read[1]), refused

    def publish(self, file, table, login, per_page, options, typed=False):
        self.outs += 1
        out = self.work / f'pages{self.outs}'
        out.mkdir()
        r = self.kavero('publish', file, table, '--out', out / 'main.asp', '--server', login[0], '--database',
                        login[1], '--user', login[2], '--records', '--records-per-page', per_page, *options,
                        *(['--no-password-in-pages'] if typed else []), password=login[3])
        return out, r

    def journey(self, case, table, per_page=5, login=None, typed=False, wrong_password=False, options=(),
                file='records.mdb'):
        """Publishes a fixture table and goes through its pages as a visitor; gives the chain and
        the numbers of the records the server refused."""
        file, pages_db, direct_db = self.fixtures / file, f'kvp_{case}', f'kvd_{case}'
        self.fresh(pages_db, direct_db)
        total, refused = self.direct_copy(file, table, direct_db, options)
        login = login or (f'127.0.0.1:{self.port}', pages_db, self.user, self.password)
        login = (*login[:3], 'not-the-password') if wrong_password else login
        folder, r = self.publish(file, table, login, per_page, options, typed)
        check(r.returncode == 0, f'publish {table}: {r.stderr}')
        written = {Path(line).name for line in r.stdout.splitlines()}
        copies = {f'startcopy{n}.asp' for n in range(1, -(-total // per_page) + 1)}
        check(written == {'main.asp', 'createtable.asp', 'startcopy.asp', 'endcopy.asp'} | copies, f'wrote {written}')
        check(not typed or all(login[3] not in read(folder / w) for w in written), 'a password in the pages')
        typed = login[3] if typed else None
        run, connects = self.server.run, len(self.server.connects)
        create, start = run(folder, 'createtable.asp'), run(folder, 'startcopy.asp')
        created = run(folder, 'createtable.asp', form=submit(forms(create)[0], typed))
        chain = follow(forms(start)[0], lambda name, query: run(folder, name, query=query), typed)
        script = self.kavero('script', file, table, '--terminator', ';', *options).stdout
        expect_pages(folder, create, start, chain, login, total, per_page, script, typed)
        # Every page opened the connection the createtable.asp box shows, with the port apart.
        shown = [m[1] for t in texts(created.iter('td')) if (m := re.search(r'Conn\.Open "(.*)"$', t, re.S))]
        opened = set(self.server.connects[connects:])
        check(len(shown) == 1 and opened == set(shown) and f';port={self.port};' in shown[0], f'{opened} {shown}')
        outcome = 'Error Number= #1045' if wrong_password else 'Success !'
        for name, doc in [('createtable.asp', created)] + [(name, doc) for name, _, doc in chain[:-1]]:
            connecting = cell_after(doc, 'Connecting to the mySQL server')
            check(connecting.startswith(outcome), f'{name} connecting: {connecting}')
        rows = result_rows(created)
        check(rows and [c for c, _ in rows] == stripes('#C0C0C0', '#FFFFFF', len(rows))
              and all(cells[1].startswith(outcome[:5]) for _, cells in rows if cells), f'createtable.asp rows {rows}')
        refused_on_pages = set()
        for n, (name, _, doc) in enumerate(chain[:-1], 1):
            rows = result_rows(doc)
            check([c for c, _ in rows] == stripes('#FFFFFF', '#C0C0C0', per_page), f'{name}: rows {rows}')
            check(len([1 for _, cells in rows if cells]) == min(per_page, total - (n - 1) * per_page), f'{name} {rows}')
            refused_on_pages |= {(n - 1) * per_page + a for a, (_, cells) in enumerate(rows, 1)
                                 if cells and not cells[1].startswith('Success')}
        listed = listed_lines(chain[-1][2])
        if wrong_password:
            check(refused_on_pages == set(range(1, total + 1)), f'refused {refused_on_pages}')
            check(listed[:2] == ['The list cannot be shown: connecting to the mySQL server failed.',
                                 'Error Number= #1045'], f'endcopy.asp: {listed}')
            check(not self.image(pages_db, table), 'a table without a login')
        else:
            check(refused_on_pages == refused, f'{table}: refused on the pages {refused_on_pages}, directly {refused}')
            self.same_tables(pages_db, direct_db, table)
            check(len(listed) == total - len(refused) and all(s.endswith(', ') for s in listed), f'listed {listed}')
        return chain, refused_on_pages

# ---- the cases ----------------------------------------------------------------------------------

def case_chains(suite):
    for table, total in (('Twelve', 12), ('Ten', 10), ('TwentyThree', 23)):
        chain, _ = suite.journey('chains', table)
        listed = listed_lines(chain[-1][2])
        check(listed == [f'{k}, record {k}, ' for k in range(1, total + 1)], f'{table} listed {listed}')

def case_values(suite):
    suite.journey('values', 'Literals', per_page=10)
    # Backquotes stay, so that the names Double and When are no syntax error.
    _, refused = suite.journey('values', 'HardValues', per_page=10, options=['--allow-spaces'])
    check(6 in refused, 'HardValues: the Null number of record 6 was not refused')
    suite.journey('values', 'FirstFieldNull')
    # Names in backquotes, with a blank or a double quote, in the listing query and field lines.
    suite.journey('values', 'Spaced Table', options=['--allow-spaces'])
    suite.journey('values', 'Say "Hi"', options=['--allow-spaces'], file='design.mdb')
    # Lossless: the AutoNumber 0 stays 0 on the pages too, as on the direct copy.
    suite.journey('values', 'Owners', options=['--lossless'], file='relationships.mdb')
    check(suite.sql('SELECT ID FROM `kvp_values`.`Owners` ORDER BY ID') == [['0'], ['1'], ['2']], 'Owners renumbered')

def case_login(suite):
    """A user and password holding every character that means something in a page or address."""
    user, password = 'o\'k "u"&#1', 'p"w&#d \'x;+%<%b>'
    quoted = lambda v: "'" + v.replace("'", "''") + "'"
    account = f"{quoted(user)}@'127.0.0.1'"
    suite.sql(f'DROP USER IF EXISTS {account}; CREATE USER {account} IDENTIFIED BY {quoted(password)};'
              f'GRANT ALL ON `kvp_login`.* TO {account};', root=True)
    try:
        suite.journey('login', 'Three', per_page=2, login=(f'127.0.0.1:{suite.port}', 'kvp_login', user, password))
    finally:
        suite.sql(f'DROP USER IF EXISTS {account};', root=True)

def case_scripts(suite):
    """Scripts a visitor types into createtable.asp: ";" inside quotes and backquotes, pieces of
    two characters or fewer (an empty row each), and a script without ";", which runs whole."""
    suite.fresh('kvp_scripts')
    login = (f'127.0.0.1:{suite.port}', 'kvp_scripts', suite.user, suite.password)
    folder, r = suite.publish(suite.fixtures / 'records.mdb', 'Empty', login, 5, [])
    check(r.returncode == 0, r.stderr)
    form = submit(forms(suite.server.run(folder, 'createtable.asp'))[0])
    pieces = ["CREATE TABLE `s;c` (a VARCHAR(20) DEFAULT 'x;\\'y', `b;\"c` INT DEFAULT 1)",
              'INSERT INTO `s;c` (a) VALUES ("p;q")', '', ' ', 'SELECT 1']
    for script, statements in ((';'.join(pieces), pieces), ('DROP TABLE `s;c`', ['DROP TABLE `s;c`'])):
        page = suite.server.run(folder, 'createtable.asp', form=[(n, script if n == 'q' else v) for n, v in form])
        want = [[p, 'Success !'] if len(p) > 2 else [] for p in statements]
        got = result_rows(page)
        check(got == list(zip(stripes('#C0C0C0', '#FFFFFF', len(want)), want)), f'{script}: rows {got}')
        if len(statements) > 1:
            got = suite.sql('INSERT INTO `s;c` () VALUES (); SELECT a, `b;"c` FROM `s;c` ORDER BY a', 'kvp_scripts')
            check(got == [['p;q', '1'], ["x;'y", '1']], f'the table holds {got}')
    check(not suite.image('kvp_scripts', 's;c'), 'the table is left after DROP TABLE')

def case_empty(suite):
    chain, _ = suite.journey('empty', 'Empty')
    check(listed_lines(chain[-1][2]) == [], 'endcopy.asp lists records of an empty table')

def case_wrong_password(suite):
    suite.journey('wrong', 'Three', per_page=2, wrong_password=True)

def case_typed_password(suite):
    suite.journey('typed', 'Ten', typed=True)

def evaluate(expression):
    """The value of a VBScript string expression: "…" literals ("" for a quote) and chr(n)
    pieces, joined by + or &. Anything else is refused."""
    value, at, token = '', 0, re.compile(r'\s*(?:"((?:[^"]|"")*)"|chr\((\d+)\))\s*', re.I)
    while True:
        m = token.match(expression, at)
        # "%>" would end the page's server code, even inside the string.
        check(m and '%>' not in m[0], f'not a statement string: {expression[at:at + 40]!r}')
        check(m[2] is None or int(m[2]) < 128, f'chr({m[2]}) depends on the code page')
        value += m[1].replace('""', '"') if m[1] is not None else chr(int(m[2]))
        at = m.end()
        if at == len(expression):
            return value
        check(expression[at] in '+&', f'not a statement string: {expression[at:at + 40]!r}')
        at += 1

def case_statements(suite):
    files = sorted(p for p in suite.testdata.rglob('*') if p.suffix in ('.mdb', '.accdb'))
    if not files:
        print(f'SKIP: no Access files in {suite.testdata}')
        sys.exit(77)
    tables, options = 0, ['--allow-spaces']
    login = (f'127.0.0.1:{suite.port}', 'kvs_pages', suite.user, suite.password)
    for file in files + [suite.fixtures / f'{name}.mdb' for name in ('customers', 'design', 'records', 'types')]:
        listed = suite.kavero('tables', file, *options)
        for table in listed.stdout.splitlines() if listed.returncode == 0 else []:
            where = f'{file.name} {table}'
            suite.fresh('kvs_pages', 'kvs_direct')
            folder, r = suite.publish(file, table, login, 5, options)
            total, refused = suite.direct_copy(file, table, 'kvs_direct', options, table_may_fail=True)
            if r.returncode != 0:  # a table the pick refuses: the direct copy must refuse it alike
                check(total is None and 'kavero-cli: ' in r.stderr, f'{where}: only publishing refused: {r.stderr}')
                continue
            tables += 1
            create, start = static_page(folder, 'createtable.asp'), static_page(folder, 'startcopy.asp')
            if total is None:  # no table on the server: every record is refused on the pages as well
                total = int(dict((n, v) for n, _, v in forms(start)[0]['fields'])['tr'])
                refused = set(range(1, total + 1))
            chain = follow(forms(start)[0], lambda name, query: static_page(folder, name))
            script = suite.kavero('script', file, table, '--terminator', ';', *options).stdout
            expect_pages(folder, create, start, chain, login, total, 5, script, False)
            suite.sql(script, 'kvs_pages', check_status=False)
            connection = connect(f'driver={{MySql}};server=127.0.0.1;port={suite.port};database=kvs_pages;'
                                 f'uid={suite.user};pwd={suite.password};charset=utf8mb4')
            refused_on_pages = set()
            for n, (name, _, _) in enumerate(chain[:-1], 1):
                lines = re.findall(r'^StrArray\((\d+)\)=(.*?)\r?$', read(folder / name), re.M)
                check([int(k) for k, _ in lines] == list(range(1, len(lines) + 1)), f'{name}: entries {lines}')
                for k, expression in lines:
                    try:
                        connection.execute(evaluate(expression))
                    except pyodbc.Error:
                        refused_on_pages.add((n - 1) * 5 + int(k))
            connection.close()
            check(refused_on_pages == refused, f'{where}: refused on the pages {refused_on_pages}, directly {refused}')
            suite.same_tables('kvs_pages', 'kvs_direct', table)
    check(tables > 0, 'no table published')
    print(f'{tables} tables')

def main():
    if sys.argv[1] in ('wine-start', 'wine-stop'):
        return wine_fixture(sys.argv[1], Path(sys.argv[2]))
    suite = Suite(*sys.argv[2:8])
    try:
        globals()['case_' + sys.argv[1]](suite)
    except Failure as e:
        print(f'FAIL {sys.argv[1]}: {e}')
        return 1
    print(f'PASS {sys.argv[1]} ({suite.server.runs} pages run)')

if __name__ == '__main__':
    sys.exit(main())
