// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node tst_game.mjs <folder of tst_game.html, .js and .wasm>
// Runs the game's test suite in Chromium, on the page that Qt makes for it,
// prints what it prints, and fails unless it finishes with no test failed.
import {launch, serve, until} from './browser.mjs';

const server = await serve([process.argv[2]]);
const browser = await launch('chromium');
let totals = null, aborted = false;
try {
    const page = await browser.newPage();
    page.on('console', message => {
        console.log(message.text());
        totals = message.text().match(/^Totals: (\d+) passed, (\d+) failed/) ?? totals;
        aborted ||= message.text().startsWith('Aborted');
    });
    page.on('pageerror', error => {
        console.log(`page error: ${error.message}`);
        aborted = true;
    });
    await page.goto(`${server.url}tst_game.html`);
    await until(() => totals || aborted, 'tst_game to finish', 20 * 60000);
} finally {
    await browser.close();
    await server.close();
}
process.exit(totals?.[2] === '0' && totals[1] !== '0' ? 0 : 1);
