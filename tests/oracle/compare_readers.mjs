// Compares `kavero-cli` with two independent Access readers over every file of the test data:
// table lists and every cell against npm mdb-reader (floats by value), record counts against
// mdbtools' mdb-export. Differences where the other reader is known to be wrong are listed in
// expected_differences.json; the run fails when one of them disappears or a new one appears.
//
//   node compare_readers.mjs KAVERO_CLI TESTDATA_DIR EXPECTED_JSON [FIXTURE_DIR]
//
// Exit 77 (skipped) without test data, or without the oracles outside CI.
import { execFileSync, spawnSync } from "node:child_process";
import { existsSync, readdirSync, readFileSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const [cli, testdata, expectedFile, fixtureDir] = process.argv.slice(2);
const here = path.dirname(fileURLToPath(import.meta.url));
const oracle = path.join(here, "mdb_reader_dump.mjs");
const skip = (why) => {
    console.log(`SKIP: ${why}`);
    process.exit(process.env.CI === "true" && !why.startsWith("no testdata") ? 1 : 77);
};
if (!testdata || !existsSync(testdata)) skip(`no testdata at ${testdata}`);
if (spawnSync("mdb-export", ["--version"]).error) skip("mdb-export is not installed");
if (spawnSync("node", [oracle], { encoding: "utf8" }).stderr.includes("not installed")) {
    skip("mdb-reader is not installed; run scripts/install-deps.sh");
}

function run(program, args) {
    const r = spawnSync(program, args, { encoding: "utf8", maxBuffer: 1 << 30 });
    return { status: r.status, out: r.stdout ?? "", err: r.stderr ?? "" };
}
// JSON lines, split on LF only: text cells may hold U+2028 and the like.
const lines = (text) => (text === "" ? [] : text.replace(/\n$/, "").split("\n"));

// Records in an mdb-export CSV: fields may be quoted and hold line breaks.
function csvRecordCount(text) {
    let records = 0, inQuotes = false, any = false;
    for (let i = 0; i < text.length; ++i) {
        const c = text[i];
        if (inQuotes) {
            if (c === '"') {
                if (text[i + 1] === '"') ++i; else inQuotes = false;
            }
        } else if (c === '"') {
            inQuotes = true; any = true;
        } else if (c === "\n") {
            if (any) ++records;
            any = false;
        } else if (c !== "\r") {
            any = true;
        }
    }
    if (any) ++records;
    return Math.max(0, records - 1); // header line
}

// Numbers compare by value; a GUID is the same with or without its braces (the oracle
// script prints it bare).
function sameCell(a, b) {
    if (typeof a === "number" && typeof b === "number") return a === b;
    const bare = (v) => (typeof v === "string" && /^\{[0-9A-F-]{36}\}$/.test(v) ? v.slice(1, -1) : v);
    return JSON.stringify(bare(a)) === JSON.stringify(bare(b));
}

const observed = new Map(); // key -> detail
const note = (reader, file, table, kind, detail) => {
    const key = `${reader}|${file}|${table}|${kind}`;
    if (!observed.has(key)) observed.set(key, detail);
};

// Files are named relative to the test data folder; written fixtures as "fixtures/<name>".
const files = [];
const roots = { fixtures: fixtureDir };
for (const folder of ["jet3", "jet4", "ace", "other"]) {
    const dir = path.join(testdata, folder);
    if (!existsSync(dir)) continue;
    for (const name of readdirSync(dir).sort()) {
        if (/\.(mdb|accdb)$/i.test(name)) files.push(`${folder}/${name}`);
    }
}
if (fixtureDir && existsSync(fixtureDir)) {
    for (const name of readdirSync(fixtureDir).sort()) {
        if (/\.mdb$/i.test(name)) files.push(`fixtures/${name}`);
    }
}
const fullPath = (file) => {
    const [folder, name] = file.split("/");
    return roots[folder] ? path.join(roots[folder], name) : path.join(testdata, file);
};

let tablesCompared = 0, cellsCompared = 0;
for (const file of files) {
    const full = fullPath(file);
    const ours = run(cli, ["tables", full, "--allow-spaces"]);
    const theirs = run("node", [oracle, full]);
    if (ours.status !== 0 || theirs.status !== 0) {
        if ((ours.status !== 0) !== (theirs.status !== 0)) {
            note("mdb-reader", file, "*", "open", `kavero: ${ours.err.trim()} / mdb-reader: ${theirs.err.trim().split("\n")[0]}`);
        } else {
            note("both", file, "*", "refused", ours.err.trim());
        }
        continue;
    }
    const ourTables = lines(ours.out), theirTables = lines(theirs.out);
    if (JSON.stringify(ourTables) !== JSON.stringify(theirTables)) {
        note("mdb-reader", file, "*", "tables", `${JSON.stringify(ourTables)} vs ${JSON.stringify(theirTables)}`);
    }
    for (const table of ourTables.filter((t) => theirTables.includes(t))) {
        ++tablesCompared;
        const a = run(cli, ["dump", full, table]);
        const b = run("node", [oracle, full, table]);
        if (a.status !== 0 || b.status !== 0) {
            note("mdb-reader", file, table, "dump-error", `${a.err.trim()} / ${b.err.trim().split("\n")[0]}`);
            continue;
        }
        const ra = lines(a.out).map((l) => JSON.parse(l));
        const rb = lines(b.out).map((l) => JSON.parse(l));
        if (ra.length !== rb.length) {
            note("mdb-reader", file, table, "count", `${ra.length} vs ${rb.length}`);
        } else {
            let cellDiffs = 0, orderOnly = false;
            const columns = new Set();
            for (let i = 0; i < ra.length; ++i) {
                const keys = new Set([...Object.keys(ra[i]), ...Object.keys(rb[i])]);
                if (JSON.stringify(Object.keys(ra[i])) !== JSON.stringify(Object.keys(rb[i]))) {
                    note("mdb-reader", file, table, "column-order", `${Object.keys(ra[i])} vs ${Object.keys(rb[i])}`);
                }
                for (const k of keys) {
                    ++cellsCompared;
                    if (!sameCell(ra[i][k], rb[i][k])) {
                        ++cellDiffs;
                        columns.add(k);
                    }
                }
            }
            if (cellDiffs > 0) {
                const canon = (rows) => rows.map((r) => JSON.stringify(Object.keys(r).sort().map((k) => [k, r[k]]))).sort();
                orderOnly = JSON.stringify(canon(ra)) === JSON.stringify(canon(rb));
                if (orderOnly) {
                    note("mdb-reader", file, table, "row-order", `${cellDiffs} cells differ`);
                } else {
                    for (const k of columns) note("mdb-reader", file, table, `cells:${k}`, `${cellDiffs} cells differ`);
                }
            }
        }
        const exported = run("mdb-export", [full, table]);
        if (exported.status !== 0) {
            note("mdb-export", file, table, "export-error", exported.err.trim());
        } else if (csvRecordCount(exported.out) !== ra.length) {
            note("mdb-export", file, table, "count", `${ra.length} vs ${csvRecordCount(exported.out)}`);
        }
    }
}

const expected = JSON.parse(readFileSync(expectedFile, "utf8"));
const expectedKeys = new Set(expected.map((e) => `${e.reader}|${e.file}|${e.table}|${e.kind}`));
let failed = false;
for (const [key, detail] of observed) {
    if (!expectedKeys.has(key)) {
        failed = true;
        console.log(`NEW DIFFERENCE ${key}: ${detail}`);
    }
}
for (const e of expected) {
    const key = `${e.reader}|${e.file}|${e.table}|${e.kind}`;
    if (!observed.has(key)) {
        failed = true;
        console.log(`EXPECTED DIFFERENCE GONE ${key} (${e.why})`);
    } else {
        console.log(`expected difference ${key}: ${observed.get(key)}`);
    }
}
console.log(`${files.length} files, ${tablesCompared} tables, ${cellsCompared} cells compared`);
if (tablesCompared === 0) failed = true;
process.exit(failed ? 1 : 0);
