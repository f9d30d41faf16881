// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node tst_game.mjs chromium|webkit <folder of tst_game.html, .js and .wasm>
// Runs the game's test suite in a browser, on the page that Qt makes for it
// with a script first that keeps what it prints, prints that, and fails
// unless it finishes with no test failed.
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {launch, serve, until} from './browser.mjs';

const [name, folder] = process.argv.slice(2);
const own = mkdtempSync(join(tmpdir(), 'drift-harbour-tst_game-'));
writeFileSync(join(own, 'run.html'), readFileSync(join(folder, 'tst_game.html'), 'utf8').replace('<head>', `<head>
<script>
window.printed = [];
for (const kind of ['log', 'info', 'warn', 'error']) {
    const print = console[kind].bind(console);
    console[kind] = (...words) => { printed.push(words.join(' ')); print(...words); };
}
addEventListener('error', event => printed.push(\`Aborted: page error: \${event.message}\`));
addEventListener('unhandledrejection', event => printed.push(\`Aborted: page error: \${event.reason}\`));
</script>`));
const server = await serve([own, folder]);
const browser = await launch(name);
let totals = null, aborted = false;
try {
    const page = await browser.newPage();
    await page.goto(`${server.url}run.html`);
    let seen = 0;
    // The page answers only between the calls into the program: a test run
    // is one.
    await until(async () => {
        const lines = await page.evaluate(from => window.printed.slice(from), seen);
        seen += lines.length;
        for (const line of lines) {
            console.log(line);
            totals = line.match(/^Totals: (\d+) passed, (\d+) failed/) ?? totals;
            aborted ||= line.startsWith('Aborted');
        }
        return totals || aborted;
    }, 'tst_game to finish', 20 * 60000);
} finally {
    await browser.close();
    await server.close();
    rmSync(own, {recursive: true, force: true});
}
process.exit(totals?.[2] === '0' && totals[1] !== '0' ? 0 : 1);
