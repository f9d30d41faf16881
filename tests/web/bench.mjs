// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node bench.mjs <drift-harbour-...-web.zip> <desktop drift-harbour>
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
import {decodePng, launch, serve, until} from './browser.mjs';

const [zip, desktop] = process.argv.slice(2);
const site = mkdtempSync(join(tmpdir(), 'drift-harbour-bench-'));
execFileSync('unzip', ['-q', zip, '-d', site]);
const server = await serve([site]);
const browser = await launch('chromium', ['--window-size=1000,700'], {headless: false});

// Milliseconds from opening the page to its first frame of level 1.
async function firstFrame(page) {
    const start = performance.now();
    await page.goto(server.url);
    await page.waitForSelector('#game.shown', {timeout: 120000});
    return performance.now() - start;
}

// The field's box on the page, and whether the tip band shows the yellow of
// a passed level's tip.
async function passed(page) {
    const box = await page.$eval('#game', game => {
        const rect = Element.prototype.getBoundingClientRect.call(game);
        return {left: rect.left, top: rect.top + parseFloat(game.style.getPropertyValue('--game-height')) - 480};
    });
    const shot = decodePng(Buffer.from(await page.screenshot({clip: {x: box.left, y: box.top, width: 800, height: 150}})));
    for (let y = 0; y < 150; y += 2)
        for (let x = 0; x < 800; ++x)
            if (shot.rgb(x, y).join() === '255,255,0')
                return true;
    return false;
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

    // Level 1 passes 219 ticks after its well is set: the wall time up to
    // the passed screen counts the ticks per second.
    const box = await page.$eval('#game', game => Element.prototype.getBoundingClientRect.call(game).toJSON());
    const menu = box.height - 480;
    await page.mouse.move(box.left + 400, box.top + menu + 200);
    await page.mouse.down();
    await page.mouse.move(box.left + 400, box.top + menu + 280);
    await page.mouse.up();
    const set = performance.now();
    await until(() => passed(page), 'level 1 passed', 30000);
    const seconds = (performance.now() - set) / 1000;
    console.log(`ticks per second in a visible tab: ${(219 / seconds).toFixed(1)} ` +
                `(219 ticks in ${seconds.toFixed(3)} s, up to a frame more)`);

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
