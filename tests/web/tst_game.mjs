// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node tst_game.mjs <folder of tst_game.js and .wasm> <argument>...
// Runs the game's test suite in Chromium, prints what it prints, and fails
// unless it finishes with no test failed.
import {dirname} from 'node:path';
import {fileURLToPath} from 'node:url';
import {launch, serve, until} from './browser.mjs';

const [folder, ...args] = process.argv.slice(2);
const server = await serve([dirname(fileURLToPath(import.meta.url)), folder]);
const browser = await launch('chromium');
let totals = null, finished = false;
try {
    const page = await browser.newPage();
    page.on('console', message => {
        const text = message.text();
        console.log(text);
        totals = text.match(/^Totals: (\d+) passed, (\d+) failed, (\d+) skipped/) ?? totals;
        finished ||= /^\*+ Finished testing of /.test(text) || text.startsWith('tst_game exited');
    });
    page.on('pageerror', error => console.log(`page error: ${error.message}`));
    await page.goto(`${server.url}tst_game.html?${args.map(arg => `arg=${encodeURIComponent(arg)}`).join('&')}`);
    await until(() => finished, 'tst_game to finish', 20 * 60000);
} finally {
    await browser.close();
    await server.close();
}
if (!totals || totals[2] !== '0' || totals[1] === '0')
    process.exit(1);
