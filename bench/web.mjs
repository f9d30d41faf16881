// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node web.mjs <drift-harbour-...-web.zip> <desktop drift-harbour>
// Prints, for the page served from 127.0.0.1 in this system's Chromium on
// the X display of $DISPLAY: the time from opening the page to the first
// frame of level 1, with an empty cache and once its worker keeps the
// files; the ticks per second in a visible tab; and the CPU time that the
// page (all of Chromium's processes) and the desktop game take per second,
// both showing level 1 side by side.
import {execFileSync, spawn} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {launch, serve, until} from '../tests/web/browser.mjs';

const [zip, desktop] = process.argv.slice(2);
const site = mkdtempSync(join(tmpdir(), 'drift-harbour-bench-'));
execFileSync('unzip', ['-q', zip, '-d', site]);
const server = await serve([site]);
const browser = await launch('chromium', ['--window-size=1000,700'], {headless: false});

// Milliseconds from opening the page to its first frame of level 1, by the
// page's clock.
async function firstFrame(page) {
    await page.goto(server.url);
    await page.waitForSelector('#game.shown', {timeout: 120000});
    return page.evaluate(() => performance.getEntriesByName('first frame')[0].startTime);
}

// Starts to watch, in the page's frames, the tip of level 1 (its yellow in
// the band above the field, on the game's canvas) go when it starts and come
// back when it has passed. Resolves to the seconds between the two frames.
function watchForPass(page) {
    return page.evaluate(() => new Promise(resolve => {
        const canvas = document.getElementById('qt-shadow-container').shadowRoot.querySelector('canvas');
        const context = canvas.getContext('2d'), top = canvas.height - 480 + 60;
        let started;
        const look = () => {
            const band = context.getImageData(0, top, 800, 30).data;
            let tip = false;
            for (let i = 0; i < band.length && !tip; i += 4)
                tip = band[i] === 255 && band[i + 1] === 255 && band[i + 2] === 0;
            if (!tip && started === undefined)
                started = performance.now();
            if (tip && started !== undefined)
                return resolve((performance.now() - started) / 1000);
            requestAnimationFrame(look);
        };
        requestAnimationFrame(look);
    }));
}

// CPU seconds of the processes given and all of their descendants.
function cpuSeconds(pids) {
    const parent = {}, time = {};
    for (const pid of readdirSync('/proc').filter(name => /^\d+$/.test(name))) {
        try {
            const fields = readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
            parent[pid] = fields[1];
            time[pid] = (Number(fields[11]) + Number(fields[12])) / 100;
        } catch {
            // Ended meanwhile.
        }
    }
    const within = pid => pids.includes(pid) || (parent[pid] && parent[pid] !== '0' && within(parent[pid]));
    return Object.keys(time).filter(within).reduce((sum, pid) => sum + time[pid], 0);
}

try {
    const page = await browser.newPage();
    await page.setViewport({width: 1000, height: 700});
    const cold = await firstFrame(page);
    await until(() => page.evaluate(async () => !!navigator.serviceWorker.controller &&
        !!await caches.match('drift-harbour.wasm')), 'the files kept');
    const warm = await firstFrame(page);
    console.log(`first frame of level 1: ${cold.toFixed(0)} ms with an empty cache, ` +
                `${warm.toFixed(0)} ms with the files kept`);

    // Level 1 passes 219 ticks after its well is set, which a quick drag
    // does in the tick that starts the level: the wall time from the frame
    // that shows it running to the one that shows it passed counts the
    // ticks per second.
    const box = await page.$eval('#game', game => {
        const rect = Element.prototype.getBoundingClientRect.call(game);
        return {left: rect.left, top: rect.top + rect.height - 480};
    });
    const passed = watchForPass(page);
    await page.mouse.move(box.left + 400, box.top + 200);
    await page.mouse.down();
    await page.mouse.move(box.left + 400, box.top + 280);
    await page.mouse.up();
    const seconds = await passed;
    console.log(`ticks per second in a visible tab: ${(219 / seconds).toFixed(1)} ` +
                `(219 ticks in ${seconds.toFixed(3)} s, to a frame)`);

    // Level 1 anew in both, each ticking and painting; after a second to
    // settle, 20 seconds of CPU.
    await page.reload();
    await page.waitForSelector('#game.shown');
    const game = spawn(desktop, [], {stdio: 'ignore'});
    await new Promise(resolve => setTimeout(resolve, 3000));
    const pids = [String(browser.process().pid)], before = [cpuSeconds(pids), cpuSeconds([String(game.pid)])];
    await new Promise(resolve => setTimeout(resolve, 20000));
    const page20 = (cpuSeconds(pids) - before[0]) / 20, desktop20 = (cpuSeconds([String(game.pid)]) - before[1]) / 20;
    game.kill();
    console.log(`CPU per second of level 1: the page ${(page20 * 1000).toFixed(0)} ms, ` +
                `the desktop game ${(desktop20 * 1000).toFixed(0)} ms: ${(page20 / desktop20).toFixed(2)} times`);
} finally {
    await browser.close();
    await server.close();
    rmSync(site, {recursive: true, force: true});
}
