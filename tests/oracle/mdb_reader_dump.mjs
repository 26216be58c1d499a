// Independent reader used as a test oracle: prints what npm's mdb-reader sees in an Access file,
// in the same form as `kavero-cli dump` (one JSON object per record) so the two can be compared.
//
//   node mdb_reader_dump.mjs FILE            user table names, one per line
//   node mdb_reader_dump.mjs FILE TABLE      the table's records, one JSON object per line
//   node mdb_reader_dump.mjs FILE TABLE --columns   the columns (name, type, size) as JSON lines
//
// The module is found through NODE_PATH or the oracle folder that scripts/install-deps.sh fills.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

async function loadReader() {
    try {
        return (await import("mdb-reader")).default;
    } catch {
        const here = path.dirname(fileURLToPath(import.meta.url));
        const dirs = [process.env.KAVERO_ORACLE_DIR, path.join(here, "../../build/oracle")].filter(Boolean);
        for (const dir of dirs) {
            try {
                const require = createRequire(path.join(dir, "package.json"));
                return (await import(pathToFileURL(require.resolve("mdb-reader")).href)).default;
            } catch {}
        }
        throw new Error("mdb-reader is not installed; run scripts/install-deps.sh");
    }
}

// The shortest decimal text that reads back to the same 32-bit float.
function shortestFloat(value) {
    if (!Number.isFinite(value)) return String(value);
    for (let digits = 1; digits <= 9; ++digits) {
        const text = value.toPrecision(digits);
        if (Math.fround(Number(text)) === value) return Number(text);
    }
    return value;
}

function pad(n, width = 2) {
    return String(n).padStart(width, "0");
}

function formatDate(date) {
    const d = new Date(Math.round(date.getTime() / 1000) * 1000);
    return `${pad(d.getUTCFullYear(), 4)}-${pad(d.getUTCMonth() + 1)}-${pad(d.getUTCDate())} ` +
        `${pad(d.getUTCHours())}:${pad(d.getUTCMinutes())}:${pad(d.getUTCSeconds())}`;
}

function convert(value, type) {
    if (value === null || value === undefined) return null;
    switch (type) {
        case "float": return shortestFloat(value);
        case "bigint": return Number.isSafeInteger(Number(value)) ? Number(value) : String(value);
        case "datetime": return formatDate(value);
        case "binary":
        case "ole": return "0x" + Buffer.from(value).toString("hex");
        case "repid": return String(value).toUpperCase();
        case "complex": return JSON.stringify(value);
        // "YYYY.MM.DD HH:MM:SS.nnnnnnnnn": the form of kavero-cli dump, to the 100 ns stored.
        case "datetimextended": return value.replace(/^(\d{4})\.(\d\d)\.(\d\d)( .*)00$/, "$1-$2-$3$4");
        default: return value;
    }
}

const [file, tableName, flag] = process.argv.slice(2);
if (!file) {
    console.error("usage: mdb_reader_dump.mjs FILE [TABLE [--columns]]");
    process.exit(2);
}
const MDBReader = await loadReader();
const reader = new MDBReader(readFileSync(file));
if (!tableName) {
    for (const name of reader.getTableNames({ normalTables: true, systemTables: false, linkedTables: false })) {
        console.log(name);
    }
    process.exit(0);
}
const table = reader.getTable(tableName);
const columns = table.getColumns();
if (flag === "--columns") {
    for (const c of columns) console.log(JSON.stringify({ name: c.name, type: c.type, size: c.size }));
    process.exit(0);
}
const out = [];
for (const row of table.getData()) {
    const record = {};
    for (const c of columns) record[c.name] = convert(row[c.name], c.type);
    out.push(JSON.stringify(record));
}
process.stdout.write(out.length ? out.join("\n") + "\n" : "");
