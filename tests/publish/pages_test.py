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
HERE = Path(__file__).resolve().parent


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
    env, log = wine_env(prefix), open(f'{prefix}.log', 'ab')
    run = lambda *args: subprocess.run(['timeout', '120', *args], env=env, stdin=subprocess.DEVNULL, stdout=log,
                                       stderr=log, check=True)
    if action == 'wine-stop':
        run('wineserver', '-k') if prefix.is_dir() else None
        shutil.rmtree(prefix, ignore_errors=True)
        return
    shutil.rmtree(prefix, ignore_errors=True)
    prefix.mkdir(parents=True)
    run('wineserver', '-p')
    run('wineboot', '-i')
    # A crash must end the page at once, not wait in the debugger.
    run('wine', 'reg', 'add', r'HKCU\Software\Wine\AeDebug', '/v', 'Debugger', '/t', 'REG_SZ', '/d', '', '/f')


# ---- the page as a script ------------------------------------------------------------------

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


class Server:
    """Runs pages under cscript and answers their connection's calls through pyodbc."""

    def __init__(self, work, prefix):
        self.work, self.env, self.runs, self.connects = work, wine_env(prefix), 0, []
        self.prelude = (HERE / 'stand_ins.vbs').read_text()

    def run(self, folder, name, query=(), form=()):
        self.runs += 1
        run = self.work / f'run{self.runs}'
        (run / 'spool').mkdir(parents=True)
        lines = [self.prelude, f'KaveroSpool = "{win(run / "spool")}\\"', f'Response.Start "{win(run / "out.txt")}"']
        lines += [f'Request.QueryValues.Add {vb(k)}, {vb(v)}' for k, v in query]
        lines += [f'Request.FormValues.Add {vb(k)}, {vb(v)}' for k, v in form]
        lines += [asp_to_vbs((folder / name).read_bytes().decode('utf-8')), f'Response.Finish "{END}"']
        (run / 'page.vbs').write_bytes('\r\n'.join(lines).encode('utf-8'))
        with open(run / 'wine.log', 'wb') as log:
            wine = subprocess.Popen(['timeout', '-k', '5', '60', 'wine', 'cscript', '//nologo', win(run / 'page.vbs')],
                                    env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            self.serve(run / 'spool', wine)
        out = run / 'out.txt'
        text = out.read_bytes().decode('utf-16') if out.exists() else ''
        check(text.endswith(END), f'{name} did not run to its end: see {run}')
        return html5lib.parse(text[:-len(END)], namespaceHTMLElements=False)

    def serve(self, spool, wine):
        connection = None
        while True:
            ended = wine.poll() is not None
            for request in sorted(spool.glob('*.req'), key=lambda p: int(p.stem)):
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
                    answer = f'{m[2]}\n{m[1]}\n' if m else f'1\n{e.args[1]}\n'.replace('\n', ' ', 1)
                request.with_suffix('.tmp').write_bytes(answer.encode('utf-16'))
                request.with_suffix('.tmp').replace(request.with_suffix('.res'))
                request.unlink()
            if ended:
                return connection and connection.close()
            time.sleep(0.002)


def connect(text):
    # The driver's wide functions garble some texts (Connector/ODBC 3.1.15); its narrow ones carry
    # UTF-8 unchanged with charset=utf8mb4, and are the ones the program itself uses.
    connection = pyodbc.connect(text, autocommit=True, ansi=True)
    connection.setencoding(encoding='utf-8')
    for kind in (pyodbc.SQL_CHAR, pyodbc.SQL_WCHAR):
        connection.setdecoding(kind, encoding='utf-8')
    return connection


def records(cursor):
    if cursor.description is None:
        return ''
    cells = [str(len(cursor.description))] + [d[0] for d in cursor.description]
    cells += [None if v is None else v.hex() if isinstance(v, bytes) else str(v) for row in cursor for v in row]
    return ''.join('-1:' if c is None else f'{len(c.encode("utf-16-le")) // 2}:{c}' for c in cells)


# ---- the pages as a browser sees them --------------------------------------------------------

def static_page(folder, name):
    """A page without its server code, as the fast layer reads it."""
    return html5lib.parse(re.sub(r'<%.*?%>', '', (folder / name).read_bytes().decode('utf-8'), flags=re.S),
                          namespaceHTMLElements=False)


# html5lib 1.1 keeps the line break that follows <textarea> when the text area stands in a
# table cell; a browser drops it there as everywhere.
CELL_KEEPS_BREAK = html5lib.parse('<table><tr><td><textarea>\nx', namespaceHTMLElements=False).find('.//textarea').text == '\nx'


def textarea_value(e, cells):
    text = e.text or ''
    text = text[1:] if CELL_KEEPS_BREAK and e in cells and text.startswith('\n') else text
    return re.sub(r'\r\n|\r|\n', '\r\n', text)  # as a browser submits it


def forms(doc):
    found = []
    cells = [t for td in doc.iter('td') for t in td.iter('textarea')]
    for form in doc.iter('form'):
        controls = [e for e in form.iter() if e.tag in ('input', 'textarea')]
        fields = [(e.get('name'), e.get('type', 'textarea'),
                   textarea_value(e, cells) if e.tag == 'textarea' else e.get('value', ''))
                  for e in controls if e.get('name')]
        buttons = [(e.get('type'), e.get('value')) for e in controls if e.get('type') in ('submit', 'reset')]
        found.append(dict(name=form.get('name'), method=form.get('method'), action=form.get('action'),
                          fields=fields, buttons=buttons))
    return found


def submit(form, password=None):
    """The fields a browser sends; a password field gets what the visitor typed."""
    return [(n, password if t == 'password' and password is not None else v) for n, t, v in form['fields']]


def location(doc):
    """Where the page's script sends the browser next, as (page, query pairs), or None."""
    for script in doc.iter('script'):
        m = re.search(r"location\.replace\('([^']*)'\)", script.text or '')
        if m:
            page, _, query = m[1].partition('?')
            check('/' not in page, f'location outside the folder: {m[1]}')
            return page, urllib.parse.parse_qsl(query, keep_blank_values=True, errors='strict')


def result_rows(doc):
    """(colour, cell texts) of each statement row of a result table."""
    rows = []
    for tr in doc.iter('tr'):
        m = re.fullmatch(r'background-color: (#\w+)', tr.get('style', ''))
        if m:
            rows.append((m[1], [''.join(td.itertext()) for td in tr.iter('td')]))
    return rows


def connecting(doc):
    cells = [''.join(td.itertext()) for tr in doc.iter('tr') for td in tr.iter('td')]
    return cells[cells.index('Connecting to the mySQL server') + 1]


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


def expect_forms(folder, create, start, login, total, per_page, script, typed):
    """The forms of createtable.asp and startcopy.asp, with the values they must hand on."""
    s, d, u, p = login
    shown = '' if typed else p
    expected_create = dict(name='KAVERO', method='post', action='createtable.asp',
                           fields=[('s', 'text', s), ('d', 'text', d), ('u', 'text', u),
                                   ('p', 'password' if typed else 'text', shown), ('q', 'textarea', script),
                                   ('cmd', 'hidden', 'run')],
                           buttons=[('submit', 'Submit to mySQL server'), ('reset', 'Reset')])
    check(forms(create) == [expected_create], f'createtable.asp form: {forms(create)}')
    expected_start = dict(name='KAVERO', method='get', action='startcopy1.asp' if total else 'endcopy.asp',
                          fields=[('cmd', 'hidden', 'run'), ('s', 'hidden', s), ('d', 'hidden', d),
                                  ('u', 'hidden', u), ('p', 'password' if typed else 'hidden', shown),
                                  ('tr', 'hidden', str(total)), ('ip', 'hidden', str(per_page)),
                                  ('sc', 'hidden', '1' if total else '0')],
                          buttons=[('submit', f'Start copy {total} records to your mySQL server')])
    check(forms(start) == [expected_start], f'startcopy.asp form: {forms(start)}')
    frames = [(f.get('name'), f.get('src')) for f in static_page(folder, 'main.asp').iter('frame')]
    check(frames == [('header', 'createtable.asp'), ('main', 'startcopy.asp')], f'frames {frames}')


def expect_chain(chain, login, total, per_page):
    """The copy pages in order, each opened with sc, tr, ip and the login, then endcopy.asp."""
    pages = -(-total // per_page)
    names = [name for name, _, _ in chain]
    check(names == [f'startcopy{n}.asp' for n in range(1, pages + 1)] + ['endcopy.asp'], f'chain {names}')
    for n, (name, query, _) in enumerate(chain, 1):
        query = {k: v for k, v in query if k != 'cmd'}
        want = dict(ip=str(per_page), tr=str(total), sc=str(min(n, pages)), s=login[0], d=login[1], u=login[2],
                    p=login[3])
        check(query == want, f'{name} opened with {query}, not {want}')


# ---- the server side ----------------------------------------------------------------------------

class Sandbox:
    def __init__(self, folder, work):
        env_file = folder / 'env'
        if not env_file.exists():
            print(f'SKIP: no sandbox server in {folder}')
            sys.exit(1 if os.environ.get('CI') == 'true' else 77)
        self.env = dict(re.findall(r"export (\w+)='([^']*)'", env_file.read_text()))
        self.port, self.user, self.password = (self.env[k] for k in ('KAVERO_TEST_PORT', 'KAVERO_TEST_USER',
                                                                      'KAVERO_TEST_PASSWORD'))
        odbc = work / 'odbc'
        odbc.mkdir(parents=True, exist_ok=True)
        libdir = subprocess.run(['pkg-config', '--variable=libdir', 'libmaodbc'], capture_output=True, text=True)
        (odbc / 'odbcinst.ini').write_text(f'[MySql]\nDriver = {libdir.stdout.strip()}/libmaodbc.so\n')
        os.environ.update(ODBCSYSINI=str(odbc), ODBCINI=str(odbc / 'odbc.ini'))

    def sql(self, text, database='', root=False, check_status=True):
        """Runs SQL through the mariadb client (given on standard input); rows of cells."""
        login = ['-uroot'] if root else ['-u', self.user]
        env = dict(os.environ, MYSQL_PWD='' if root else self.password)
        r = subprocess.run(['mariadb', '--no-defaults', '-N', '-B', '--force', '-S', self.env['KAVERO_TEST_SOCKET'],
                            *login, *([database] if database else [])], input=text, capture_output=True, text=True,
                           env=env)
        check(r.returncode == 0 or not check_status, f'mariadb: {r.stderr.strip()}')
        return [line.split('\t') for line in r.stdout.splitlines()]

    def fresh(self, *databases):
        self.sql(''.join(f'DROP DATABASE IF EXISTS `{d}`; CREATE DATABASE `{d}` CHARACTER SET utf8mb4;'
                         for d in databases))

    def image(self, database, table):
        """Column types and every cell's bytes, rows sorted; None when there is no table."""
        name = table.replace("'", "''")
        columns = self.sql(f"SELECT COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT FROM information_schema"
                           f".COLUMNS WHERE TABLE_SCHEMA='{database}' AND TABLE_NAME='{name}' ORDER BY ORDINAL_POSITION")
        if not columns:
            return None
        cells = ', '.join('HEX(CONCAT(`%s`))' % c[0].replace('`', '``') for c in columns)
        return columns, sorted(self.sql(f'SELECT {cells} FROM `{database}`.`{table.replace("`", "``")}`'))

    def connect_text(self, database):
        return (f'driver={{MySql}};server=127.0.0.1;port={self.port};database={database};uid={self.user};'
                f'pwd={self.password};charset=utf8mb4')


class Suite:
    def __init__(self, cli, sandbox, fixtures, testdata, work, prefix):
        self.cli, self.fixtures, self.testdata, self.work = cli, Path(fixtures), Path(testdata), Path(work)
        shutil.rmtree(self.work, ignore_errors=True)
        self.db = Sandbox(Path(sandbox), self.work)
        self.server = Server(self.work, Path(prefix))
        self.outs = 0

    def kavero(self, *args, password):
        env = dict(os.environ, KAVERO_MYSQL_PASSWORD=password, ODBCSYSINI=self.db.env['ODBCSYSINI'],
                   ODBCINI=self.db.env['ODBCINI'])
        return subprocess.run([self.cli, *map(str, args)], capture_output=True, text=True, env=env,
                              stdin=subprocess.DEVNULL)

    def direct_copy(self, file, table, database, options, table_may_fail=False):
        """The table copied by kavero-cli copy: (records read, numbers of the refused records), or
        (None, None) when the server refused to create the table and that may happen."""
        r = self.kavero('copy', file, table, '--dsn', self.db.env['KAVERO_TEST_DSN'], '--database', database,
                        '--user', self.db.user, '--records', '--yes', *options, password=self.db.password)
        if table_may_fail and r.returncode == 1 and self.db.image(database, table) is None:
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

    def same_tables(self, pages_db, direct_db, table):
        pages, direct = self.db.image(pages_db, table), self.db.image(direct_db, table)
        check(pages is not None and pages == direct, f'{table}: the pages left {pages and pages[0]} with '
              f'{pages and len(pages[1])} rows; the direct copy {direct and direct[0]} with {direct and len(direct[1])}')

    def journey(self, case, table, per_page=5, login=None, typed=False, wrong_password=False, options=()):
        """Publishes a table of records.mdb, then goes through its pages as a visitor."""
        file = self.fixtures / 'records.mdb'
        pages_db, direct_db = f'kvp_{case}', f'kvd_{case}'
        self.db.fresh(pages_db, direct_db)
        total, refused = self.direct_copy(file, table, direct_db, options)
        login = login or (f'127.0.0.1:{self.db.port}', pages_db, self.db.user, self.db.password)
        if wrong_password:
            login = (*login[:3], 'not-the-password')
        folder, r = self.publish(file, table, login, per_page, options, typed)
        check(r.returncode == 0, f'publish {table}: {r.stderr}')
        written = {Path(line).name for line in r.stdout.splitlines()}
        copies = {f'startcopy{n}.asp' for n in range(1, -(-total // per_page) + 1)}
        check(written == {'main.asp', 'createtable.asp', 'startcopy.asp', 'endcopy.asp'} | copies, f'wrote {written}')
        if typed:
            check(all(login[3] not in (folder / w).read_bytes().decode('utf-8') for w in written), 'password in a page')
        password = login[3] if typed else None
        script = self.kavero('script', file, table, '--terminator', ';', *options, password='').stdout
        server, connects = self.server, len(self.server.connects)
        create, start = server.run(folder, 'createtable.asp'), server.run(folder, 'startcopy.asp')
        expect_forms(folder, create, start, login, total, per_page, script, typed)
        created = server.run(folder, 'createtable.asp', form=submit(forms(create)[0], password))
        chain, target = [], (forms(start)[0]['action'], submit(forms(start)[0], password))
        while target:
            chain.append((*target, server.run(folder, target[0], query=target[1])))
            target = location(chain[-1][2])
        expect_chain(chain, login, total, per_page)
        check(all(c == connects_text(login) for c in server.connects[connects:]), f'connect texts {server.connects}')
        outcome = 'Error Number= #1045' if wrong_password else 'Success !'
        for doc in [created] + [doc for _, _, doc in chain[:-1]]:
            check(connecting(doc).startswith(outcome), f'connecting: {connecting(doc)}')
        rows = result_rows(created)
        check(rows and all(colour == ('#C0C0C0', '#FFFFFF')[i % 2] for i, (colour, _) in enumerate(rows)),
              f'createtable.asp rows {rows}')
        check(all(cells[1].startswith('Error' if wrong_password else 'Success') for _, cells in rows if cells),
              f'createtable.asp results {rows}')
        refused_on_pages = set()
        for n, (name, _, doc) in enumerate(chain[:-1], 1):
            rows = result_rows(doc)
            filled = [cells for _, cells in rows if cells]
            check(len(rows) == per_page and [c for c, _ in rows] == ['#FFFFFF', '#C0C0C0'] * (per_page // 2) +
                  ['#FFFFFF'] * (per_page % 2), f'{name}: rows {rows}')
            check(len(filled) == min(per_page, total - (n - 1) * per_page), f'{name}: {len(filled)} statements')
            refused_on_pages |= {(n - 1) * per_page + a for a, (_, cells) in enumerate(rows, 1)
                                 if cells and not cells[1].startswith('Success')}
        listed = listed_lines(chain[-1][2])
        if wrong_password:
            check(refused_on_pages == set(range(1, total + 1)), f'refused {refused_on_pages}')
            check(listed[0].startswith('The list cannot be shown: connecting') and listed[1] == 'Error Number= #1045',
                  f'endcopy.asp: {listed}')
            check(self.db.image(pages_db, table) is None, 'a table without a login')
            return chain
        check(refused_on_pages == refused, f'{table}: refused on the pages {refused_on_pages}, directly {refused}')
        self.same_tables(pages_db, direct_db, table)
        check(len(listed) == total - len(refused) and all(line.endswith(', ') for line in listed), f'listed {listed}')
        return chain


def connects_text(login):
    host, port = login[0].split(':')
    braced = lambda v: '{' + v + '}' if ';' in v or v.strip() != v else v
    return (f'driver={{MySql}};server={host};port={port};database={braced(login[1])};uid={braced(login[2])};'
            f'pwd={braced(login[3])};charset=utf8mb4')


# ---- the cases ----------------------------------------------------------------------------------

def case_chains(suite):
    for table, total in (('Twelve', 12), ('Ten', 10), ('TwentyThree', 23)):
        chain = suite.journey('chains', table)
        listed = listed_lines(chain[-1][2])
        check(listed == [f'{k}, record {k}, ' for k in range(1, total + 1)], f'{table} listed {listed}')


def case_values(suite):
    suite.journey('values', 'Literals', per_page=10)
    # Backquotes stay, so that the names Double and When are no syntax error.
    suite.journey('values', 'HardValues', per_page=10, options=['--allow-spaces'])
    suite.journey('values', 'FirstFieldNull')


def case_login(suite):
    """A user and password holding every character that means something in a page or address."""
    user, password = 'o\'k "u"&#1', 'p"w&#d \'x;+%'
    quoted = lambda v: "'" + v.replace("'", "''") + "'"
    account = f"{quoted(user)}@'127.0.0.1'"
    suite.db.sql(f'DROP USER IF EXISTS {account}; CREATE USER {account} IDENTIFIED BY {quoted(password)};'
                 f'GRANT ALL ON `kvp_login`.* TO {account};', root=True)
    try:
        suite.journey('login', 'Three', per_page=2, login=(f'127.0.0.1:{suite.db.port}', 'kvp_login', user, password))
    finally:
        suite.db.sql(f'DROP USER IF EXISTS {account};', root=True)


def case_empty(suite):
    chain = suite.journey('empty', 'Empty')
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
        check(m, f'not a statement string: {expression[at:at + 40]!r}')
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
    tables = 0
    for file in files + [suite.fixtures / 'records.mdb', suite.fixtures / 'types.mdb']:
        listed = suite.kavero('tables', file, '--allow-spaces', password='')
        for table in listed.stdout.splitlines() if listed.returncode == 0 else []:
            suite.db.fresh('kvs_pages', 'kvs_direct')
            login = (f'127.0.0.1:{suite.db.port}', 'kvs_pages', suite.db.user, suite.db.password)
            folder, r = suite.publish(file, table, login, 5, ['--allow-spaces'])
            if r.returncode != 0:  # a table the pick refuses: the direct copy must refuse it alike
                copied = suite.kavero('copy', file, table, '--dsn', suite.db.env['KAVERO_TEST_DSN'], '--database',
                                      'kvs_direct', '--user', suite.db.user, '--allow-spaces', '--yes',
                                      password=suite.db.password)
                check(copied.returncode == 1 and copied.stderr.split('\n')[0] == r.stderr.split('\n')[0],
                      f'{file.name} {table}: publish refused ({r.stderr}), copy: {copied.stderr}')
                continue
            tables += 1
            total, refused = suite.direct_copy(file, table, 'kvs_direct', ['--allow-spaces'], table_may_fail=True)
            script = suite.kavero('script', file, table, '--terminator', ';', '--allow-spaces', password='').stdout
            create, start = static_page(folder, 'createtable.asp'), static_page(folder, 'startcopy.asp')
            if total is None:  # no table on the server: every record is refused on the pages as well
                total = int(dict((n, v) for n, _, v in forms(start)[0]['fields'])['tr'])
                refused = set(range(1, total + 1))
            expect_forms(folder, create, start, login, total, 5, script, False)
            chain, target = [], (forms(start)[0]['action'], submit(forms(start)[0]))
            while target:
                chain.append((*target, static_page(folder, target[0])))
                target = location(chain[-1][2])
            expect_chain(chain, login, total, 5)
            suite.db.sql(script, 'kvs_pages', check_status=False)
            connection, rejected = connect(suite.db.connect_text('kvs_pages')), 0
            for name, _, _ in chain[:-1]:
                lines = re.findall(r'^StrArray\((\d+)\)=(.*?)\r?$', (folder / name).read_bytes().decode('utf-8'), re.M)
                check([int(k) for k, _ in lines] == list(range(1, len(lines) + 1)), f'{name}: entries {lines}')
                for _, expression in lines:
                    try:
                        connection.execute(evaluate(expression))
                    except pyodbc.Error:
                        rejected += 1
            connection.close()
            check(rejected == len(refused), f'{file.name} {table}: {rejected} refused on the pages, {refused}')
            if suite.db.image('kvs_direct', table) is None:
                check(suite.db.image('kvs_pages', table) is None, f'{file.name} {table}: created by the pages only')
            else:
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
