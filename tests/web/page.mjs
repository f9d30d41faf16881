// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: node page.mjs chromium|firefox|webkit <drift-harbour-...-web.zip>
// The page as players get it: the download unpacked and served on
// 127.0.0.1, played in a headless browser with real mouse, touch and keys,
// and checked by the pixels of its screenshots.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, afterEach, before, test} from 'node:test';
import {audit, decodePng, launch, serve, until} from './browser.mjs';

const [name, zip] = process.argv.slice(2);
const chromium = name === 'chromium', firefox = name === 'firefox', webkit = name === 'webkit';
const field = [0, 32, 64], red = [255, 64, 64], blue = [128, 128, 255], grey = [128, 128, 128],
      yellow = [255, 255, 0];
const site = mkdtempSync(join(tmpdir(), 'drift-harbour-site-'));
execFileSync('unzip', ['-q', zip, '-d', site]);
let browser, server;

before(async () => {
    browser = await launch(name);
    server = await serve([site]);
});
// A page that a test left open is one it failed on: its screen goes to the
// folder that $DRIFT_FAILURES names, if any, before it is closed.
const opened = [];
async function newPage() {
    const page = await browser.newPage();
    opened.push(page);
    return page;
}
afterEach(async () => {
    for (const page of opened.splice(0).filter(page => !page.isClosed())) {
        if (process.env.DRIFT_FAILURES) {
            const file = join(process.env.DRIFT_FAILURES, `page-${name}-${process.pid}-${Date.now()}.png`);
            writeFileSync(file, await page.screenshot());
            console.log(`# the screen: ${file}`);
        }
        await page.close();
    }
});
after(async () => {
    await browser?.close();
    await server?.close();
    rmSync(site, {recursive: true, force: true});
});

// A new page of the site, at the viewport given, and the game's box on it
// once the game shows its first frame.
async function open(viewport = {width: 1000, height: 700}, {url} = server) {
    const page = await newPage();
    await page.setViewport(viewport);
    await page.goto(url);
    return {page, box: await gameBox(page)};
}

// Where the game is on the page: its top left, its scale, and the height of
// its menu bar above the 800 x 480 field, in the game's pixels.
async function gameBox(page) {
    await page.waitForSelector('#game.shown', {timeout: 120000});
    return page.$eval('#game', game => {
        const rect = Element.prototype.getBoundingClientRect.call(game);
        const height = parseFloat(game.style.getPropertyValue('--game-height'));
        return {left: rect.left, top: rect.top, scale: rect.height / height, menu: height - 480,
                width: rect.width, height: rect.height};
    });
}

// The point of the page where the field's point x, y is.
function at(box, x, y) {
    return {x: box.left + x * box.scale, y: box.top + (box.menu + y) * box.scale};
}

async function screen(page) {
    const ratio = await page.evaluate(() => devicePixelRatio);
    const png = decodePng(Buffer.from(await page.screenshot()));
    return {...png, ratio};
}

function near(colour, expected, tolerance = 0) {
    return colour.every((c, i) => Math.abs(c - expected[i]) <= tolerance);
}

// Whether a pixel of the field's rectangle (x, y, w, h, in the field's
// pixels) shows the colour, within the tolerance a scaled picture needs.
async function shows(page, box, rect, colour) {
    const found = await pixels(page, box, rect), tolerance = box.scale < 1 ? 60 : 0;
    for (let i = 0; i < found.length; i += 3)
        if (near(found.slice(i, i + 3), colour, tolerance))
            return true;
    return false;
}

// The pixels of the field's rectangle (x, y, w, h, in the field's pixels).
async function pixels(page, box, [x, y, w, h]) {
    const shot = await screen(page);
    const from = at(box, x, y), to = at(box, x + w, y + h), found = [];
    for (let py = Math.floor(from.y * shot.ratio); py < Math.ceil(to.y * shot.ratio); ++py)
        for (let px = Math.floor(from.x * shot.ratio); px < Math.ceil(to.x * shot.ratio); ++px)
            found.push(...shot.rgb(px, py));
    return found;
}

async function drag(page, box, [x1, y1, x2, y2]) {
    const from = at(box, x1, y1), to = at(box, x2, y2);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(to.x, to.y, {steps: 5});
    await page.mouse.up();
}

// A finger's touch at the first of the points (page pixels), its moves
// through the others and its lift, sent all at once: one by one, a busy
// machine can hold the finger still between them past the half second after
// which the game takes it for a long press.
async function gesture(page, points) {
    const cdp = await page.createCDPSession();
    const touch = (type, {x, y}) => cdp.send('Input.dispatchTouchEvent', {type, touchPoints: type === 'touchEnd' ? [] : [{x, y}]});
    await Promise.all([touch('touchStart', points[0]), ...points.slice(1).map(point => touch('touchMove', point)),
                       touch('touchEnd', points[points.length - 1])]);
    await cdp.detach();
}

// A finger drawn down the field from 100, 290 to 100, 330, where level 1's
// red particle is, which sets a red well there.
function fingerDrag(page, box) {
    const from = at(box, 100, 290), to = at(box, 100, 330);
    return gesture(page, [0, 1, 2, 3, 4, 5].map(step => ({x: from.x, y: from.y + (to.y - from.y) * step / 5})));
}

// The canvas's pixels for each CSS pixel it is shown at.
function canvasRatio(page) {
    return page.evaluate(() => {
        const canvas = document.getElementById('qt-shadow-container').shadowRoot.querySelector('canvas');
        return canvas.width / canvas.getBoundingClientRect().width;
    });
}

async function click(page, box, x, y, button = 'left') {
    await page.mouse.click(at(box, x, y).x, at(box, x, y).y, {button});
}

// The middle of the nth word of dark grey ink across a band of the screen
// (left, top, right and bottom in page pixels): where a menu bar shows its
// menus, in whatever font.
async function word(page, [left, top, right, bottom], n) {
    const shot = await screen(page);
    const ink = (x, y) => {
        const colour = shot.rgb(Math.round(x * shot.ratio), Math.round(y * shot.ratio));
        return Math.max(...colour) < 110 && Math.max(...colour) - Math.min(...colour) < 30;
    };
    const words = [];
    for (let x = Math.ceil(left), gap = 99; x < right; ++x) {
        let inked = false;
        for (let y = Math.ceil(top); y < bottom && !inked; ++y)
            inked = ink(x, y);
        if (inked && gap >= 6)
            words.push([x, x]);
        if (inked)
            words[words.length - 1][1] = x;
        gap = inked ? 0 : gap + 1;
    }
    assert.ok(words.length > n, `a menu bar of at least ${n + 1} menus, found ${words.length}`);
    return (words[n][0] + words[n][1]) / 2;
}

// Taps an item of the menu bar's "Levels" menu, whose three items share the
// height of its window, where the page shows it.
async function pickLevel(page, box, level) {
    const bar = [box.left, box.top, box.left + box.width, box.top + box.menu * box.scale];
    const x = await word(page, bar, 1);
    await gesture(page, [{x, y: (bar[1] + bar[3]) / 2}]);
    const menu = await until(() => page.evaluate(() => {
        const canvases = [...document.getElementById('qt-shadow-container').shadowRoot.querySelectorAll('canvas')];
        const shown = canvases.slice(1).map(canvas => canvas.getBoundingClientRect()).find(box => box.height > 0);
        return shown && {top: shown.top, height: shown.height};
    }), 'the Levels menu');
    await gesture(page, [{x, y: menu.top + (level - 0.5) * menu.height / 3}]);
}

test('the loading screen, then level 1 crisp at device pixel ratio 2, within the page\'s policy', {skip: !chromium}, async () => {
    let release;
    const released = new Promise(resolve => { release = resolve; });
    const server = await serve([site], path => path === '/drift-harbour.wasm' ? released : null);
    const page = await newPage();
    await page.setViewport({width: 1000, height: 700, deviceScaleFactor: 2});
    await page.evaluateOnNewDocument(() => {
        window.violations = [];
        addEventListener('securitypolicyviolation', event => violations.push(event.violatedDirective));
    });
    await page.goto(server.url, {waitUntil: 'domcontentloaded'});
    const loading = await page.evaluate(() => ({
        title: document.title, shown: !document.getElementById('loading').hidden,
        heading: document.querySelector('h1').textContent, progress: !!document.querySelector('progress'),
        images: [...document.images].map(image => image.src.split('/').pop()),
    }));
    assert.deepEqual(loading, {title: 'Drift Harbour', shown: true, heading: 'Drift Harbour', progress: true,
                               images: ['drift-harbour.svg', 'drift-harbour.svg']});
    assert.ok(near((await screen(page)).rgb(4, 4), field), 'the page has the colour of the field');
    release();
    const box = await gameBox(page);
    assert.equal(await page.$eval('#loading', element => element.hidden), true);
    // At its own size, centred on whole pixels.
    assert.deepEqual([box.scale, box.width, box.left, box.top],
                     [1, 800, 100, Math.floor((700 - box.height) / 2)]);
    // The particles and the goals of level 1, square to the device pixel.
    const shot = await screen(page);
    const device = (x, y) => shot.rgb(2 * (box.left + x), 2 * (box.top + box.menu + y));
    assert.ok(near(device(292, 232), blue) && near(device(291.5, 232), field), 'a particle, crisp');
    assert.ok(near(device(500, 236), blue) && near(device(40, 240), blue), 'the other particle, a goal');
    // The large texts too: the status line, and the time at the bottom right.
    assert.ok(await shows(page, box, [100, 110, 600, 60], [255, 255, 255]), 'the status line');
    assert.ok(await shows(page, box, [560, 420, 240, 60], yellow), 'the time');
    // Nothing that the page's policy refuses: no script of its own inline,
    // no file of another site.
    assert.deepEqual(await page.evaluate(() => violations), []);
    await page.close();
    await server.close();
});

test('a drag sets a well, a right click restarts without a context menu', async () => {
    const {page, box} = await open();
    await drag(page, box, [100, 290, 100, 330]);
    await until(() => shows(page, box, [88, 298, 4, 4], red), 'a red well where the drag went');
    // A mouse is told nothing of fingers.
    assert.equal(await page.$eval('#touch-help', note => note.hidden), true);
    if (chromium) {
        await page.evaluate(() => window.addEventListener('contextmenu', event => {
            window.contextMenuPrevented = event.defaultPrevented;
        }));
        await click(page, box, 600, 300, 'right');
        await until(async () => !await shows(page, box, [88, 298, 4, 4], red), 'the well gone');
        assert.equal(await page.evaluate(() => window.contextMenuPrevented), true);
    }
    await page.close();
});

test('level 1 played through, a click goes on to level 2', {skip: firefox}, async () => {
    const {page, box} = await open();
    await drag(page, box, [400, 200, 400, 280]);
    // The particles gone from where they started, and a tip again: the
    // level has ended, and a click goes on only after a pass.
    await until(async () => !await shows(page, box, [292, 232, 1, 1], blue) &&
                            await shows(page, box, [0, 0, 800, 150], yellow), 'level 1 ended');
    // The canvas, which takes only what changed from one frame to the next,
    // shows what the game painted: all of it painted anew, at another pixel
    // ratio and back, looks the same.
    const field = async () => (await pixels(page, box, [0, 0, 800, 480])).join();
    const passed = await field();
    const ratio = await page.evaluate(() => program.qtDevicePixelRatio);
    for (const another of [1.5 * ratio, ratio]) {
        await page.evaluate(value => { program.qtDevicePixelRatio = value; }, another);
        await until(() => page.evaluate(width => document.getElementById('qt-shadow-container')
            .shadowRoot.querySelector('canvas').width === width, Math.floor(800 * another)), 'the new ratio');
    }
    await until(async () => await field() === passed, 'the same field, painted anew');
    await click(page, box, 400, 300);
    await until(() => shows(page, box, [298, 234, 4, 4], red), 'the red particles of level 2');
    await page.close();
});

test('on a phone, sideways or upright, the whole game shows and a finger picks a level', {skip: !chromium}, async () => {
    const {page, box} = await open({width: 844, height: 390, isMobile: true, hasTouch: true});
    assert.ok(box.scale < 1 && box.left >= 0 && box.top >= 0 && box.left + box.width <= 844 &&
              box.top + box.height <= 390, `the game within the page: ${JSON.stringify(box)}`);
    assert.ok(await shows(page, box, [0, 462, 800, 18], grey), 'the bottom of the frame');
    // A level comes from the Levels menu, picked by finger.
    await pickLevel(page, box, 2);
    await until(() => shows(page, box, [496, 236, 8, 8], red), 'the red particles of level 2');
    // Held upright, the game shrinks to half its size, and the menu's items
    // are still where they show: a tap picks the one it is on.
    await page.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true});
    const upright = await until(async () => (box => box.scale < 0.5 && box)(await gameBox(page)), 'upright');
    assert.ok(upright.left >= 0 && upright.left + upright.width <= 390, `upright: ${JSON.stringify(upright)}`);
    await pickLevel(page, upright, 3);
    await until(() => shows(page, upright, [736, 416, 8, 8], red), 'the red particles of level 3');
    await page.close();
});

test('on a phone, a finger held still restarts, a tap and a drag play as before, a touch asks for full screen', {skip: !chromium}, async () => {
    const page = await newPage();
    await page.evaluateOnNewDocument(() => {
        window.fullScreenRequests = 0;
        Element.prototype.requestFullscreen = async () => { ++window.fullScreenRequests; };
        // Where the note of what a finger does last showed beside the game:
        // it goes after a few seconds.
        addEventListener('DOMContentLoaded', () => {
            const note = document.getElementById('touch-help');
            new MutationObserver(() => {
                if (!note.hidden && note.classList.contains('beside'))
                    window.noteBeside = note.getBoundingClientRect().toJSON();
            }).observe(note, {attributes: true});
        });
    });
    await page.setViewport({width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    await page.goto(server.url);
    const box = await gameBox(page);
    const tip = () => shows(page, box, [0, 0, 800, 150], yellow);
    const requests = () => page.evaluate(() => window.fullScreenRequests);
    // Waits for n more ticks of the game's own clock, which never runs ahead
    // of real time.
    const ticked = async n => {
        const from = await page.evaluate(() => program.driftTicks());
        await until(async () => await page.evaluate(() => program.driftTicks()) >= from + n, `${n} ticks`);
    };
    // A finger held down at x, y until what it waits for, then lifted.
    const hold = async (x, y, wait) => {
        await page.touchscreen.touchStart(at(box, x, y).x, at(box, x, y).y);
        await wait();
        await page.touchscreen.touchEnd();
    };
    // A mouse asks for nothing.
    await page.mouse.click(2, 2);
    assert.equal(await requests(), 0);
    // Held in Ready for 0.7 s of the game's time, the finger starts the
    // level, then restarts it, and its lift is a click that leaves it Ready:
    // the tip shows for good. Had the hold not restarted the level, the
    // level would run on without its tip. The first touch asks for full screen.
    await hold(400, 300, () => ticked(70));
    await ticked(5);
    assert.equal(await tip(), true, 'Ready again after the hold');
    assert.equal(await requests(), 1);
    // Where a finger plays, a note tells what it does, beside the game and
    // never over it.
    const note = await until(() => page.evaluate(() => window.noteBeside), 'the note beside the game');
    assert.ok(note.right <= box.left || note.left >= box.left + box.width ||
              note.bottom <= box.top || note.top >= box.top + box.height, `the note: ${JSON.stringify(note)}`);
    // A finger drawn across the middle of level 1 sets a blue well at 420,
    // 240, between its two blue particles, which then swing through it for
    // good, each at its own pace: the level runs on until a finger ends it.
    // The page neither scrolls nor zooms.
    const across = () => gesture(page, [0, 1, 2, 3, 4, 5].map(step => at(box, 400 + 8 * step, 240)));
    // A corner of the well's square, above the band that the particles cross.
    const blueWell = () => shows(page, box, [414, 228, 3, 3], blue);
    const bothAtStart = async () => await shows(page, box, [292, 232, 1, 1], blue) &&
                                    await shows(page, box, [492, 232, 1, 1], blue);
    await across();
    await until(blueWell, 'a blue well where the finger went');
    assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, visualViewport.scale]), [0, 0, 1]);
    // With a well, a finger held still anywhere restarts the level.
    await hold(600, 200, () => until(tip, 'the level restarted'));
    assert.equal(await blueWell(), false, 'the well gone with the restart');
    // A quick tap on a well removes it, and is a click, not a long press:
    // the level is not restarted, so its blue particles, which the well set
    // swinging, are not both back at their starts for good.
    await across();
    await until(blueWell, 'a blue well where the finger went');
    await gesture(page, [at(box, 420, 240)]);
    await until(async () => !await blueWell(), 'the well removed');
    await until(async () => !await bothAtStart(), 'the level running on');
    assert.equal(await requests(), 1, 'full screen asked for once');
    await page.close();
});

test('too slow for its pixel ratio, as on a slow phone, the game is painted at a lower one', {skip: !chromium}, async () => {
    const {page, box} = await open({width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    // At first Qt paints the game at the ratio at which it shows: all the
    // pixels that the screen has for it, and no more.
    assert.ok(Math.abs(await canvasRatio(page) - 3) < 0.01, `canvas pixels: ${await canvasRatio(page)}`);
    await page.emulateCPUThrottling(10);
    await until(async () => await canvasRatio(page) < 2.01, 'two canvas pixels for each CSS pixel shown');
    await page.emulateCPUThrottling(1);
    assert.ok(await shows(page, box, [292, 232, 1, 1], blue), 'level 1, still');
    await page.close();
});

test('without its .wasm, or without WebAssembly, the page says so', {skip: webkit}, async () => {
    const message = async (someBrowser, hold) => {
        const server = await serve([site], hold);
        try {
            const page = await someBrowser.newPage();
            // A browser without WebAssembly; Firefox's is switched off.
            if (someBrowser !== browser && chromium)
                await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
            await page.goto(server.url);
            await page.waitForSelector('#loading.failed', {timeout: 60000});
            return await page.$eval('#message', element => element.textContent);
        } finally {
            await server.close();
        }
    };
    assert.match(await message(browser, path => path === '/drift-harbour.wasm' ? 404 : null),
                 /could not start: drift-harbour\.wasm could not be fetched/);
    const withoutWasm = await launch(name, [], {prefs: {'javascript.options.wasm': false}});
    try {
        assert.match(await message(withoutWasm), /needs WebAssembly/);
    } finally {
        await withoutWasm.close();
    }
});

test('Escape ends the game, and it starts anew; so does Ctrl+Q', async () => {
    const {page, box} = await open();
    for (const keys of chromium ? [['Escape'], ['Control', 'q']] : [['Escape']]) {
        await click(page, box, 400, 300);
        for (const key of keys)
            await page.keyboard.down(key);
        for (const key of keys.reverse())
            await page.keyboard.up(key);
        await page.waitForSelector('#ended:not([hidden])', {timeout: 60000});
        assert.equal(await page.$('#game'), null);
        assert.equal(await page.$eval('#farewell', element => element.textContent), 'Drift Harbour has ended.');
        await page.click('#again');
        assert.ok(await shows(page, await gameBox(page), [292, 232, 1, 1], blue), 'level 1 anew');
    }
    await page.close();
});

test('once loaded, the game starts without the network', {skip: !chromium}, async () => {
    const own = await serve([site]);
    const {page} = await open(undefined, own);
    // The worker keeps all of the files or none.
    await until(() => page.evaluate(async () => navigator.serviceWorker.controller &&
        !!await caches.match('drift-harbour.wasm')), 'the files kept');
    // Chromium would install it as an app.
    const {installabilityErrors} = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    await own.close();
    await page.reload();
    assert.ok(await shows(page, await gameBox(page), [292, 232, 1, 1], blue), 'level 1, offline');
    await page.close();
});

// Lighthouse's audit, mobile and desktop, of the page served compressed as
// hosts serve it: all that a page can mend scores 100. Its performance is
// a figure of webbench.sh, not a test.
for (const preset of ['mobile', 'desktop']) {
    test(`Lighthouse, ${preset}: accessibility, best practices and SEO score 100`, {skip: !chromium}, async () => {
        const categories = ['accessibility', 'best-practices', 'seo'];
        const compressed = await serve([site], () => null, {gzip: true});
        try {
            const result = await audit(compressed.url, preset, categories);
            const failing = categories.flatMap(id => result.categories[id].auditRefs)
                .map(ref => result.audits[ref.id])
                .filter(found => found.score !== null && found.score < 1)
                .map(found => `${found.id}: ${found.title} ${JSON.stringify(found.details?.items ?? [])}`);
            assert.deepEqual({scores: categories.map(id => result.categories[id].score), failing},
                             {scores: [1, 1, 1], failing: []});
        } finally {
            await compressed.close();
        }
    });
}
