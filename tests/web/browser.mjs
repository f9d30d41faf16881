// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests share: a static web server on 127.0.0.1, this
// system's Chromium and Firefox driven by puppeteer-core, and the pixels of
// a screenshot.
import {createReadStream} from 'node:fs';
import {mkdtemp, rm, stat} from 'node:fs/promises';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize} from 'node:path';
import {inflateSync} from 'node:zlib';
import puppeteer from 'puppeteer-core';

const types = {
    '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
    '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain',
};

// Serves the files of the folders given, the first that has a path wins, as
// any static web server would. hold(path) may return a promise that the
// answer waits for, or a status to answer with instead.
export async function serve(folders, hold = () => null) {
    const server = createServer(async (request, response) => {
        const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
        const held = await hold(path);
        if (typeof held === 'number') {
            response.writeHead(held).end();
            return;
        }
        for (const folder of folders) {
            const file = join(folder, path.endsWith('/') ? `${path}index.html` : path);
            const info = await stat(file).catch(() => null);
            if (info?.isFile()) {
                response.writeHead(200, {'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                                         'Content-Length': info.size, 'Cache-Control': 'no-cache'});
                createReadStream(file).pipe(response);
                return;
            }
        }
        response.writeHead(404).end();
    });
    server.keepAliveTimeout = 0;
    await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise(resolve => { server.closeAllConnections(); server.close(resolve); }),
    };
}

// Starts a headless Chromium or Firefox of this system (or as the options
// say; prefs are Firefox's), with a profile of its own that is removed on
// close(), and no traffic of its own to any network.
export async function launch(name, extraArgs = [], {prefs = {}, ...launchOptions} = {}) {
    const profile = await mkdtemp(join(tmpdir(), `drift-harbour-${name}-`));
    const options = name === 'firefox'
        ? {browser: 'firefox', executablePath: '/usr/bin/firefox-esr', userDataDir: profile,
           extraPrefsFirefox: {'network.captive-portal-service.enabled': false, 'app.update.enabled': false,
                               'browser.shell.checkDefaultBrowser': false, ...prefs}}
        : {executablePath: '/usr/bin/chromium', userDataDir: profile,
           args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  ...extraArgs]};
    const browser = await puppeteer.launch({headless: true, protocolTimeout: 600000, ...options, ...launchOptions});
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        await rm(profile, {recursive: true, force: true});
    };
    return browser;
}

// The pixels of a PNG (8 bits per channel, RGB or RGBA, not interlaced), as
// the browsers make their screenshots: width, height and rgb(x, y), an
// [r, g, b] triple.
export function decodePng(png) {
    const width = png.readUInt32BE(16), height = png.readUInt32BE(20);
    const channels = {2: 3, 6: 4}[png[25]];
    if (png[24] !== 8 || !channels || png[28] !== 0)
        throw new Error('a PNG of a kind that decodePng() does not read');
    const chunks = [];
    for (let at = 8; at < png.length;) {
        const length = png.readUInt32BE(at), type = png.toString('latin1', at + 4, at + 8);
        if (type === 'IDAT')
            chunks.push(png.subarray(at + 8, at + 8 + length));
        at += length + 12;
    }
    const raw = inflateSync(Buffer.concat(chunks)), stride = width * channels;
    const pixels = Buffer.alloc(height * stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? pixels[y * stride + i - channels] : 0;
            const b = y > 0 ? pixels[(y - 1) * stride + i] : 0;
            const c = i >= channels && y > 0 ? pixels[(y - 1) * stride + i - channels] : 0;
            const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const predicted = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
            pixels[y * stride + i] = (line[i] + predicted) & 255;
        }
    }
    return {width, height, rgb: (x, y) => [...pixels.subarray((y * width + x) * channels, (y * width + x) * channels + 3)]};
}

// Polls check() until it returns something truthy, and returns that; fails
// with the message after the timeout.
export async function until(check, message, timeout = 60000) {
    const end = Date.now() + timeout;
    for (;;) {
        const result = await check();
        if (result)
            return result;
        if (Date.now() > end)
            throw new Error(`timed out: ${message}`);
        await new Promise(resolve => setTimeout(resolve, 100));
    }
}
