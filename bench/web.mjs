// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node web.mjs <drift-harbour-...-web.zip> <desktop drift-harbour>
// Prints Lighthouse's performance of the page, mobile and desktop; then,
// for the page served from 127.0.0.1 in this system's browsers,
// each showing its window on the X display of $DISPLAY: the time from
// opening the page to the first frame of level 1 in Chromium, with an empty
// cache and once its worker keeps the files; then, for each browser, pixel
// ratio and phone, the size of the game's canvas, its ticks per second by
// the game's own count, the browser's animation frames per second, and the
// CPU time that the page (all of the browser's
// processes) takes per second beside the desktop game's, both playing level 1
// side by side: started by a click on the field, with no well set, so that
// every tick counts its time. The desktop game is started with the
// environment of this script, and clicked with xdotool. One setting shows
// floor.html instead, a bare canvas, to show what any such page costs.
// This machine has no GPU: Chromium runs with --disable-gpu, and WebKit
// without its accelerated compositing, which would otherwise draw every
// frame with Mesa's software OpenGL; one setting shows what that costs.
import {execFileSync, spawn} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {audit, launch, serve} from '../tests/web/browser.mjs';

const [zip, desktop] = process.argv.slice(2);
const site = mkdtempSync(join(tmpdir(), 'drift-harbour-bench-'));
execFileSync('unzip', ['-q', zip, '-d', site]);
const server = await serve([site, dirname(fileURLToPath(import.meta.url))]);
const seconds = 20;
const desk = {width: 1000, height: 700};
const phone = {width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const software = {WEBKIT_DISABLE_COMPOSITING_MODE: '1'};
const only = process.env.ONLY ? new RegExp(process.env.ONLY) : null;
const settings = [
    {name: 'Chromium, dpr 1', browser: 'chromium', viewport: desk},
    {name: 'Chromium, dpr 1, a bare canvas page, no game', browser: 'chromium', viewport: desk, path: 'floor.html'},
    {name: 'Chromium, dpr 2', browser: 'chromium', viewport: {...desk, deviceScaleFactor: 2}},
    {name: 'Chromium, phone 844 x 390, dpr 3', browser: 'chromium', viewport: phone},
    {name: 'the same, CPU throttled 4x', browser: 'chromium', viewport: phone, throttle: 4},
    {name: 'Firefox, dpr 1', browser: 'firefox', viewport: desk},
    {name: 'Firefox, dpr 2', browser: 'firefox', viewport: desk, prefs: {'layout.css.devPixelsPerPx': '2'}},
    {name: 'WebKit, dpr 1', browser: 'webkit', viewport: desk, env: software},
    {name: 'WebKit, dpr 2', browser: 'webkit', viewport: desk, env: {...software, GDK_SCALE: '2'}},
    {name: 'WebKit, dpr 1, composited with OpenGL', browser: 'webkit', viewport: desk},
];

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

// A browser of a setting, its window showing a page at the setting's size.
async function open({browser: name, viewport, throttle, prefs, env}) {
    const args = name === 'chromium' ? [`--window-size=${viewport.width},${viewport.height + 100}`] : [];
    const browser = await launch(name, args, {headless: false, prefs, env});
    const page = await browser.newPage();
    await page.setViewport(viewport);
    if (throttle)
        await page.emulateCPUThrottling(throttle);
    return {browser, page};
}

// Lighthouse's performance of the page served compressed, with its mobile
// and its desktop settings, three runs each: every run's score, and of the
// median run the total blocking time, the largest contentful paint and the
// longest tasks of the page's main thread as Lighthouse saw them, before
// its simulation slows them down (4x on mobile).
async function lighthouse() {
    const compressed = await serve([site], () => null, {gzip: true});
    try {
        for (const preset of ['mobile', 'desktop']) {
            const runs = [];
            for (let run = 0; run < 3; ++run)
                runs.push(await audit(compressed.url, preset, ['performance']));
            runs.sort((a, b) => a.categories.performance.score - b.categories.performance.score);
            const {audits} = runs[1];
            const tasks = audits['main-thread-tasks'].details.items.map(task => task.duration)
                .sort((a, b) => b - a).slice(0, 8).map(duration => duration.toFixed(0));
            console.log(`Lighthouse, ${preset}: performance ${runs.map(run => run.categories.performance.score * 100)
                .join(', ')}; median run: total blocking time ` +
                `${audits['total-blocking-time'].numericValue.toFixed(0)} ms, largest contentful paint ` +
                `${(audits['largest-contentful-paint'].numericValue / 1000).toFixed(1)} s, longest tasks ` +
                `${tasks.join(', ')} ms`);
        }
    } finally {
        await compressed.close();
    }
}

// Milliseconds from opening the page to its first frame of level 1, by the
// page's clock.
async function firstFrame(page) {
    await page.goto(server.url);
    await page.waitForSelector('#game.shown', {timeout: 120000});
    return page.evaluate(() => performance.getEntriesByName('first frame')[0].startTime);
}

// The game's ticks so far, the wall time in seconds, and the CPU seconds of
// the browser's processes and of the desktop game's.
async function sample(page, pids, game) {
    const [ticks, frames, now] =
        await page.evaluate(() => [program.driftTicks(), window.benchFrames, performance.now() / 1000]);
    return {ticks, frames, now, page: cpuSeconds(pids), desktop: cpuSeconds([String(game.pid)])};
}

// Level 1 started by a click, or a tap, in the middle of the field, and
// the browser's animation frames counted from then on.
async function start(page, {viewport}) {
    await page.evaluate(() => {
        window.benchFrames = 0;
        const count = () => { ++window.benchFrames; requestAnimationFrame(count); };
        requestAnimationFrame(count);
    });
    const box = await page.$eval('#game', game => {
        const rect = Element.prototype.getBoundingClientRect.call(game);
        return {x: rect.left + rect.width / 2, y: rect.top + rect.height / 2};
    });
    if (viewport.hasTouch)
        await page.touchscreen.tap(box.x, box.y);
    else
        await page.mouse.click(box.x, box.y);
}

const game = spawn(desktop, [], {stdio: 'ignore'});
execFileSync('xdotool', ['search', '--sync', '--name', '^Drift Harbour$',
                         'mousemove', '--window', '%1', '400', '300', 'click', '1']);
try {
    await lighthouse();
    const {browser, page} = await open(settings[0]);
    const cold = await firstFrame(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await new Promise(resolve => setTimeout(resolve, 2000));
    const warm = await firstFrame(page);
    console.log(`first frame of level 1 in Chromium: ${cold.toFixed(0)} ms with an empty cache, ` +
                `${warm.toFixed(0)} ms with the files kept`);
    await browser.close();

    console.log(`level 1 played for ${seconds} s, the page beside the desktop game:`);
    console.log('| setting | canvas | ticks per second | frames per second | CPU per second: page, desktop game | ratio |');
    console.log('|---|---|---:|---:|---:|---:|');
    for (const setting of settings.filter(s => !only || only.test(s.name))) {
        const {browser, page} = await open(setting);
        try {
            await page.goto(server.url + (setting.path ?? ''));
            await page.waitForSelector('#game.shown', {timeout: 120000});
            await start(page, setting);
            // Two seconds to settle, then the game's ticks and everyone's CPU.
            await new Promise(resolve => setTimeout(resolve, 2000));
            const pids = [String(browser.process().pid)];
            const before = await sample(page, pids, game);
            await new Promise(resolve => setTimeout(resolve, seconds * 1000));
            const after = await sample(page, pids, game);
            const canvas = await page.evaluate(() => {
                const shown = document.querySelector('canvas') ??
                              document.getElementById('qt-shadow-container').shadowRoot.querySelector('canvas');
                return `${shown.width} x ${shown.height}`;
            });
            const wall = after.now - before.now;
            const cpu = (after.page - before.page) / wall, beside = (after.desktop - before.desktop) / wall;
            console.log(`| ${setting.name} | ${canvas} | ${((after.ticks - before.ticks) / wall).toFixed(1)} | ` +
                        `${((after.frames - before.frames) / wall).toFixed(0)} | ` +
                        `${(cpu * 1000).toFixed(0)} ms, ${(beside * 1000).toFixed(0)} ms | ` +
                        `${(cpu / beside).toFixed(2)} |`);
        } finally {
            await browser.close();
        }
    }
} finally {
    game.kill();
    await server.close();
    rmSync(site, {recursive: true, force: true});
}
