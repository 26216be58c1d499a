// The PHP pages as a user runs them: kavero-cli publishes a table, PHP's built-in web server
// serves the pages, headless Chromium creates the table and runs the copy chain, and the mariadb
// client reads the table back to compare it cell by cell with the direct copy of the same table.
//   node browser_test.mjs KAVERO_CLI FIXTURE_DIR BROWSER_DIR [SCREENSHOT_DIR]
// Needs the sandbox environment (KAVERO_TEST_*); exits 77 (skip) when php, chromium or
// playwright-core is missing, unless CI=true.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const [cli, fixtures, browserDir, shots] = process.argv.slice(2);
const env = process.env;
const password = env.KAVERO_TEST_PASSWORD;
const wrongPassword = 'wrong-Pa55-for-this-test';
const chromiumPath = '/usr/bin/chromium';

function skip(why) {
    console.log(`${env.CI === 'true' ? 'FAIL' : 'SKIP:'} ${why}`);
    process.exit(env.CI === 'true' ? 1 : 77);
}
if (spawnSync('php', ['-m'], { encoding: 'utf8' }).stdout?.includes('pdo_mysql') !== true) skip('no php with pdo_mysql');
if (!fs.existsSync(chromiumPath)) skip('no chromium');
let chromium;
try {
    ({ chromium } = createRequire(path.join(path.resolve(browserDir), 'node_modules', '/'))('playwright-core'));
} catch {
    skip(`no playwright-core in ${browserDir} (scripts/install-deps.sh installs it)`);
}

let failures = 0;
let passes = 0;
function check(name, ok, detail = '') {
    if (ok) passes++;
    else {
        failures++;
        console.log(`FAIL ${name}${detail ? `: ${String(detail).slice(0, 400)}` : ''}`);
    }
}

// The mariadb client, the password in MYSQL_PWD only; tab-separated rows, values escaped.
function sql(database, query) {
    const r = spawnSync('mariadb', ['-u', env.KAVERO_TEST_USER, '-S', env.KAVERO_TEST_SOCKET, '-N', '-B', '-e', query,
        ...(database ? [database] : [])], { env: { ...env, MYSQL_PWD: password }, encoding: 'utf8', maxBuffer: 1 << 30 });
    if (r.status !== 0) throw new Error(`mariadb: ${r.stderr}`);
    return r.stdout;
}

const root = fs.mkdtempSync(path.join(os.tmpdir(), 'kavero-php-'));
const server = `127.0.0.1:${env.KAVERO_TEST_PORT}`;

// kavero-cli publish --flavour php into root/FOLDER; gives the page list and the key.
function publish(file, table, folder, { perPage = 5, name = 'main.php', pass = password, deleteOld = true, extra = [] } = {}) {
    const out = path.join(root, folder, name);
    const r = spawnSync(cli, ['publish', path.join(fixtures, file), table, '--out', out, '--server', server,
        '--database', 'kavero_php', '--user', env.KAVERO_TEST_USER, '--records', '--records-per-page', String(perPage),
        '--allow-spaces', '--flavour', 'php', ...(deleteOld ? ['--delete-old'] : []), ...extra],
        { env: { ...env, KAVERO_MYSQL_PASSWORD: pass }, encoding: 'utf8' });
    if (r.status !== 0) throw new Error(`publish ${table}: ${r.stderr}`);
    const token = /main\.php\?t=([0-9a-f]{64}) /.exec(r.stderr)?.[1];
    if (!token) throw new Error(`publish ${table}: no address with a key in:\n${r.stderr}`);
    return { token, pages: r.stdout.trim().split('\n'), base: `/${folder}/` };
}

// The same table copied over ODBC into kavero_direct; the rows the server holds afterwards.
function directRows(file, table) {
    spawnSync(cli, ['copy', path.join(fixtures, file), table, '--dsn', env.KAVERO_TEST_DSN, '--database',
        'kavero_direct', '--user', env.KAVERO_TEST_USER, '--records', '--yes', '--allow-spaces'],
        { env: { ...env, KAVERO_MYSQL_PASSWORD: password }, encoding: 'utf8' });
    return rows('kavero_direct', table);
}
function rows(database, table) {
    return sql(database, `SELECT * FROM \`${table}\` ORDER BY 1`).split('\n').filter((l) => l !== '');
}
function tableSql(database, table) {
    return sql(database, `SHOW CREATE TABLE \`${table}\``).split('\t')[1];
}

const port = await new Promise((resolve) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
        const { port: free } = probe.address();
        probe.close(() => resolve(free));
    });
});
const origin = `http://127.0.0.1:${port}`;
// Bounded in time, so a killed test run cannot leave the server behind for long.
const php = spawn('timeout', ['280', 'php', '-S', `127.0.0.1:${port}`, '-t', root], { stdio: 'ignore' });
process.on('exit', () => php.kill());
for (let i = 0; i < 100 && !(await fetch(origin).catch(() => null)); i++) await new Promise((r) => setTimeout(r, 50));
const browser = await chromium.launch({ executablePath: chromiumPath, args: ['--no-sandbox'] });
const page = await browser.newPage({ viewport: { width: 960, height: 1000 } });
const seen = []; // every address and answer the browser had, to look for the password
page.on('response', async (response) => {
    seen.push(response.url());
    seen.push(await response.text().catch(() => ''));
});

async function fetchText(address, init) {
    const answer = await fetch(origin + address, init);
    return { status: answer.status, text: await answer.text() };
}

// Opens the main page with the key, submits the table form (typing `typed` as the password when
// given) and presses the start button; gives the answers of the copy pages and the end page.
async function runPages(set, { typed = '', shot = '' } = {}) {
    // Each answer is taken as it comes and awaited at the end: the last copy page's text can
    // still be on its way when the end page has loaded.
    const answers = [];
    const listen = (response) => {
        if (/\/startcopy\d+\.php/.test(response.url())) answers.push(response.text().catch(() => ''));
    };
    page.on('response', listen);
    await page.goto(`${origin}${set.base}main.php?t=${set.token}`);
    const top = page.frame({ name: 'header' });
    const bottom = page.frame({ name: 'main' });
    await top.waitForSelector('input[value="Submit to mySQL server"]');
    await bottom.waitForSelector('input[type=submit]');
    if (shot) await page.screenshot({ path: path.join(shot, 'publish-php-before.png') });
    if (typed) await top.fill('input[name=p]', typed);
    await Promise.all([top.waitForNavigation(), top.click('input[value="Submit to mySQL server"]')]);
    const created = await top.content();
    await bottom.click('input[type=submit]');
    await bottom.waitForURL(/\/endcopy\.php\?t=/, { timeout: 100000 });
    await bottom.waitForLoadState('load');
    if (shot) {
        await top.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
        await page.screenshot({ path: path.join(shot, 'publish-php-after.png') });
    }
    page.off('response', listen);
    return { created, copies: await Promise.all(answers), end: await bottom.content() };
}

// The table as the pages left it equals the direct copy, row for row and cell for cell.
function compareWithDirect(name, file, table, expectedRows) {
    const direct = directRows(file, table);
    const viaPages = rows('kavero_php', table);
    check(`${name}: rows`, viaPages.length === expectedRows && direct.length === expectedRows,
        `${viaPages.length} via the pages, ${direct.length} direct, ${expectedRows} expected`);
    const differing = viaPages.findIndex((row, i) => row !== direct[i]);
    check(`${name}: cells`, differing < 0, `row ${differing + 1}: ${viaPages[differing]} | ${direct[differing]}`);
    check(`${name}: design`, tableSql('kavero_php', table) === tableSql('kavero_direct', table));
}

try {
    sql('', 'DROP DATABASE IF EXISTS kavero_php; CREATE DATABASE kavero_php; ' +
        'DROP DATABASE IF EXISTS kavero_direct; CREATE DATABASE kavero_direct');

    // Every character a literal escapes, 65,535-byte memos, and records the server refuses
    // (a memo a byte too long, a Null number into NOT NULL) on both paths.
    for (const [table, expected, refused] of [['HardValues', 4, ['1406', '1048']], ['Literals', 6, ['1048']]]) {
        const set = publish('records.mdb', table, table);
        const { created, copies, end } = await runPages(set);
        check(`${table}: table created`, (created.match(/<b>Success !<\/b>/g) ?? []).length === 3, created);
        const errors = copies.join('').match(/Error Number= #<b>\d+<\/b>/g) ?? [];
        check(`${table}: refused records`, errors.join() === refused.map((n) => `Error Number= #<b>${n}</b>`).join(), errors);
        check(`${table}: end page`, /Data are now copied/.test(end) && /now locked/.test(end), end);
        compareWithDirect(table, 'records.mdb', table, expected);
    }

    // No records: the start button leads to the end page at once.
    {
        const set = publish('records.mdb', 'Empty', 'Empty');
        check('Empty: no copy page', !set.pages.some((p) => /startcopy\d+\.php$/.test(p)), set.pages);
        const { copies, end } = await runPages(set);
        check('Empty: chain', copies.length === 0 && /now locked/.test(end), end);
        compareWithDirect('Empty', 'records.mdb', 'Empty', 0);
    }

    // Lossless: the AutoNumber 0 stays 0, as on the direct copy.
    {
        await runPages(publish('relationships.mdb', 'Owners', 'Owners', { extra: ['--lossless'] }));
        const ids = rows('kavero_php', 'Owners').map((l) => l.split('\t')[0]).join();
        check('Owners: AutoNumber 0 kept', ids === '0,1,2', ids);
    }

    // A folder with a PHP file of its own and the pages of a longer earlier run: the pages left
    // over refuse the new key, and --delete-old takes them but not the other file. A main page
    // asked for as .asp is written as .php.
    fs.mkdirSync(path.join(root, 'chain'));
    fs.writeFileSync(path.join(root, 'chain', 'own.php'), "<?php echo 'own page';\n");
    publish('records.mdb', 'Literals', 'chain', { perPage: 1, name: 'main.asp' });
    let set = publish('records.mdb', 'TwentyThree', 'chain', { deleteOld: false });
    const stale = await fetchText(`/chain/startcopy7.php?t=${set.token}`);
    check('earlier run: page refused', stale.status === 409 && !stale.text.includes('Insert'), stale.text);
    set = publish('records.mdb', 'TwentyThree', 'chain', { pass: wrongPassword });
    const left = fs.readdirSync(path.join(root, 'chain')).sort().join(' ');
    check('delete old: only the pages', left === 'createtable.php endcopy.php kavero-common.php kavero-config.php ' +
        'main.php own.php startcopy.php startcopy1.php startcopy2.php startcopy3.php startcopy4.php startcopy5.php', left);
    const html = spawnSync(cli, ['publish', path.join(fixtures, 'records.mdb'), 'Ten', '--out', path.join(root, 'chain', 'x.html'),
        '--server', server, '--database', 'd', '--user', 'u', '--flavour', 'php'], { env: { ...env, KAVERO_MYSQL_PASSWORD: 'x' }, encoding: 'utf8' });
    check('main page not .php: refused', html.status === 1 && /must end in \.php/.test(html.stderr), html.stderr);
    check('config: owner only', (fs.statSync(path.join(root, 'chain', 'kavero-config.php')).mode & 0o777) === 0o600);

    // The key: every page refuses a request without it or with another, and runs nothing.
    sql('kavero_php', 'CREATE TABLE IF NOT EXISTS Keep (ID INT)');
    const form = new URLSearchParams({ s: server, d: 'kavero_php', u: env.KAVERO_TEST_USER, p: password, q: 'DROP TABLE Keep;', cmd: 'run' });
    for (const key of ['', '?t=', `?t=${'0'.repeat(64)}`, `?t=${set.token.slice(1)}`, `?t[]=${set.token}`]) {
        for (const name of ['main.php', 'createtable.php', 'startcopy.php', 'startcopy1.php', 'endcopy.php']) {
            const answer = await fetchText(`/chain/${name}${key}`, name === 'createtable.php' ? { method: 'POST', body: form } : {});
            check(`key refused: ${name}${key.slice(0, 8)}`, answer.status === 403 && !answer.text.includes('KAVERO<br>'), answer.status);
        }
    }
    check('key refused: nothing run', sql('kavero_php', "SHOW TABLES LIKE 'Keep'").trim() === 'Keep');
    for (const name of ['kavero-config.php', 'kavero-common.php']) {
        const answer = await fetchText(`/chain/${name}`);
        check(`${name} shows nothing`, answer.status === 200 && answer.text === '', answer.text);
    }

    // A wrong password: every page shows the error, the chain still ends, and nothing locks.
    // Typed into the form, the right one then serves the table page and the whole chain.
    let run = await runPages(set);
    const denied = 'Error Number= #<b>1045</b>';
    check('wrong password: table page', run.created.includes(denied), run.created);
    check('wrong password: copy pages', run.copies.length === 5 && run.copies.every((c) => c.includes(denied)), run.copies.length);
    check('wrong password: end page', run.end.includes(denied) && run.end.includes('not locked'), run.end);
    run = await runPages(set, { typed: password, shot: shots });
    check('typed password: copied', run.copies.length === 5 && !run.copies.join('').includes('Error Number'), run.copies[0]);
    check('typed password: listed', (run.end.match(/record \d+, <br>/g) ?? []).length === 23, run.end);
    compareWithDirect('TwentyThree', 'records.mdb', 'TwentyThree', 23);
    for (const name of ['main.php', 'createtable.php', 'startcopy1.php', 'endcopy.php']) {
        const answer = await fetchText(`/chain/${name}?t=${set.token}`);
        check(`locked: ${name}`, answer.status === 410 && answer.text.includes('locked'), answer.text);
    }

    // A large table: 40,000 records, 500 to a page.
    set = publish('large.mdb', 'Forty Thousand', 'large', { perPage: 500 });
    run = await runPages(set);
    check('large: pages', run.copies.length === 80 && !run.copies.join('').includes('Error Number'), run.copies.length);
    compareWithDirect('large', 'large.mdb', 'Forty Thousand', 40000);

    // The password is in kavero-config.php only: no other file, no answer, no address holds it.
    for (const file of fs.readdirSync(root, { recursive: true })) {
        const full = path.join(root, file);
        if (!fs.statSync(full).isFile() || path.basename(file) === 'kavero-config.php') continue;
        const text = fs.readFileSync(full, 'latin1');
        check(`no password in ${file}`, !text.includes(password) && !text.includes(wrongPassword));
    }
    const leaks = seen.filter((s) => s.includes(password) || s.includes(wrongPassword) || s.includes(encodeURIComponent(password)));
    check('no password in any answer or address', seen.length > 100 && leaks.length === 0, leaks[0]);
} catch (e) {
    check('run', false, e.stack);
} finally {
    await browser.close();
    php.kill();
    sql('', 'DROP DATABASE IF EXISTS kavero_php; DROP DATABASE IF EXISTS kavero_direct');
    fs.rmSync(root, { recursive: true, force: true });
}
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
