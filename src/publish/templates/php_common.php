<?php // KAVERO page set: the functions every page shares. Requested directly it outputs nothing.
declare(strict_types=1);

function kavero_html(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML5, 'UTF-8');
}

// Ends the request with a short page saying why it was refused.
function kavero_refuse(int $status, string $reason): never
{
    http_response_code($status);
    echo "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>KAVERO</title></head><body>\n<p>",
        kavero_html($reason), "</p>\n</body></html>\n";
    exit;
}

function kavero_lock_file(array $config): string
{
    return __DIR__ . '/kavero-lock-' . $config['run'] . '.php';
}

// The start of every page: the answer is UTF-8 HTML that is not cached and whose address, with
// its key, is never sent on as a referrer. The request must carry this run's key (?t=…); the
// pages of an earlier run and the pages of a run whose copy is done refuse to work.
function kavero_open(string $run): array
{
    header('Content-Type: text/html; charset=utf-8');
    header('Cache-Control: no-store');
    header('Referrer-Policy: no-referrer');
    header('X-Content-Type-Options: nosniff');
    header('X-Frame-Options: SAMEORIGIN');
    $file = __DIR__ . '/kavero-config.php';
    $config = is_readable($file) ? require $file : null;
    if (!is_array($config)) {
        kavero_refuse(500, 'The file kavero-config.php is missing: upload it together with the pages.');
    }
    $token = $_GET['t'] ?? '';
    if (!is_string($token) || preg_match('/\A[0-9a-f]{64}\z/', $token) !== 1 ||
        !hash_equals($config['token'], $token)) {
        kavero_refuse(403, 'This page opens only with the address KAVERO gave when it wrote the pages (it ends in ?t=…).');
    }
    if ($config['run'] !== $run) {
        kavero_refuse(409, 'This page was written by an earlier run of KAVERO: delete it from the web server.');
    }
    if (is_file(kavero_lock_file($config))) {
        kavero_refuse(410, 'These pages have copied their table and are locked. Delete them from the web server, ' .
            'kavero-config.php first: it holds the MySQL password.');
    }
    return $config;
}

// "?t=…" for the address of the next page.
function kavero_key(array $config): string
{
    return '?t=' . rawurlencode($config['token']);
}

function kavero_session(array $config, bool $readOnly): void
{
    session_name('KAVERO' . $config['run']);
    $path = rtrim(dirname($_SERVER['SCRIPT_NAME'] ?? '/'), '/') . '/';
    session_start([
        'read_and_close' => $readOnly,
        'use_strict_mode' => true,
        'use_only_cookies' => true,
        'use_trans_sid' => false,
        'cookie_path' => $path,
        'cookie_httponly' => true,
        'cookie_samesite' => 'Strict',
    ]);
}

// The login the pages use: the configuration's, with what the table form was last given in this
// browser session in its place. A typed password is kept in the session on the server only.
function kavero_login(array $config): array
{
    $login = [
        'server' => $config['server'],
        'database' => $config['database'],
        'user' => $config['user'],
        'password' => $config['password'],
    ];
    if (isset($_COOKIE['KAVERO' . $config['run']])) {
        kavero_session($config, true);
        $kept = $_SESSION['login'] ?? null;
        if (is_array($kept)) $login = array_merge($login, $kept);
    }
    return $login;
}

// Keeps the server, database and user of the posted table form for this browser session, and
// the password when one was typed (an empty field keeps the one the pages have). Runs before
// any output, since it may send the session cookie.
function kavero_keep_login(array $config, array $form): array
{
    $kept = [];
    foreach (['s' => 'server', 'd' => 'database', 'u' => 'user', 'p' => 'password'] as $field => $name) {
        $value = $form[$field] ?? '';
        if (is_string($value) && ($field !== 'p' || $value !== '')) $kept[$name] = $value;
    }
    kavero_session($config, false);
    $previous = $_SESSION['login'] ?? [];
    $_SESSION['login'] = array_merge(is_array($previous) ? $previous : [], $kept);
    session_write_close();
    return kavero_login($config);
}

// A server given as host:port names its port; anything else (a host, an IPv6 address) is the host.
function kavero_dsn(array $login): string
{
    $host = $login['server'];
    $port = '';
    if (preg_match('/\A([^:]+):([0-9]+)\z/', $host, $parts) === 1) {
        $host = $parts[1];
        $port = ';port=' . $parts[2];
    }
    // ";;" is how a DSN value holds a ";".
    $value = fn (string $text): string => str_replace(';', ';;', $text);
    return 'mysql:host=' . $value($host) . $port . ';dbname=' . $value($login['database']) . ';charset=utf8mb4';
}

// [number, description] of a failed step: the server's own error number where it gave one.
function kavero_error(PDOException $e): array
{
    $info = $e->errorInfo;
    $number = is_array($info) && isset($info[1]) ? $info[1] : $e->getCode();
    $text = is_array($info) && isset($info[2]) ? $info[2] : $e->getMessage();
    return [(string) $number, (string) $text];
}

// [connection, null] or [null, error]. One statement per call: a record can never run a second one.
function kavero_connect(array $login): array
{
    $multi = defined('Pdo\Mysql::ATTR_MULTI_STATEMENTS') ? constant('Pdo\Mysql::ATTR_MULTI_STATEMENTS')
        : PDO::MYSQL_ATTR_MULTI_STATEMENTS;
    try {
        $pdo = new PDO(kavero_dsn($login), $login['user'], $login['password'], [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_TIMEOUT => 15,
            PDO::ATTR_STRINGIFY_FETCHES => true,
            $multi => false,
        ]);
        return [$pdo, null];
    } catch (PDOException $e) {
        return [null, kavero_error($e)];
    }
}

// Runs one statement; null when it succeeded, else its error. Without a connection every
// statement fails with the connection's error.
function kavero_run(?PDO $pdo, ?array $connectError, string $statement): ?array
{
    if ($pdo === null) return $connectError;
    try {
        $pdo->exec($statement);
        return null;
    } catch (PDOException $e) {
        return kavero_error($e);
    }
}

function kavero_result(?array $error): string
{
    if ($error === null) return '<b>Success !</b>';
    return 'Error Number= #<b>' . kavero_html($error[0]) . '</b><br>Error Desc.= <b>' . kavero_html($error[1]) .
        '</b><br>';
}

function kavero_result_row(string $colour, string $statement, ?array $error): void
{
    echo '<tr style="background-color: ', $colour, '"><td>', kavero_html($statement), '</td><td>',
        kavero_result($error), "</td></tr>\r\n";
    flush();
}

// The table script as the statements to run: each piece before a ";" outside quotes and
// backquotes, while more than two characters remain; a script without such a ";" is one piece.
function kavero_statements(string $rest): array
{
    $pieces = [];
    while (strlen($rest) > 2) {
        $quote = '';
        $escaped = false;
        $end = strlen($rest);
        for ($i = 0; $i < strlen($rest); $i++) {
            $c = $rest[$i];
            if ($escaped) {
                $escaped = false;
            } elseif ($quote === '') {
                if ($c === ';') {
                    $end = $i;
                    break;
                }
                if ($c === "'" || $c === '"' || $c === '`') $quote = $c;
            } elseif ($c === '\\' && $quote !== '`') {
                $escaped = true;
            } elseif ($c === $quote) {
                $quote = '';
            }
        }
        $pieces[] = substr($rest, 0, $end);
        $rest = (string) substr($rest, $end + 1);
    }
    return $pieces;
}
