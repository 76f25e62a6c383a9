// Runs the npm package qfs-compression on files for Verada's tests and benchmark.
//   node qfs_peer.js compress INPUT OUTPUT [INPUT OUTPUT]...
//   node qfs_peer.js decompress INPUT OUTPUT [INPUT OUTPUT]...
//   node qfs_peer.js time-decompress INPUT ROUNDS   (prints the best CPU seconds of a round)
//   node qfs_peer.js time-compress ROUNDS INPUT...  (prints the best CPU seconds of a round
//                                                    over all inputs, then their stream bytes)
'use strict';
const fs = require('fs');
const { compress, decompress } = require('qfs-compression');

const [mode, ...args] = process.argv.slice(2);
if ((mode === 'compress' || mode === 'decompress') && args.length % 2 === 0 && args.length > 0) {
    const run = mode === 'compress' ? compress : decompress;
    for (let i = 0; i < args.length; i += 2) {
        fs.writeFileSync(args[i + 1], run(fs.readFileSync(args[i])));
    }
} else if (mode === 'time-decompress' && args.length === 2) {
    const data = fs.readFileSync(args[0]);
    const rounds = Number(args[1]);
    decompress(data);
    let best = Infinity;
    for (let i = 0; i < rounds; i++) {
        const start = process.cpuUsage();
        decompress(data);
        const used = process.cpuUsage(start);
        best = Math.min(best, (used.user + used.system) / 1e6);
    }
    console.log(best.toFixed(9));
} else if (mode === 'time-compress' && args.length >= 2) {
    const rounds = Number(args[0]);
    const inputs = args.slice(1).map((file) => fs.readFileSync(file));
    let bytes = 0;
    for (const input of inputs) {
        bytes += compress(input).length;
    }
    let best = Infinity;
    for (let i = 0; i < rounds; i++) {
        const start = process.cpuUsage();
        for (const input of inputs) {
            compress(input);
        }
        const used = process.cpuUsage(start);
        best = Math.min(best, (used.user + used.system) / 1e6);
    }
    console.log(best.toFixed(9) + ' ' + bytes);
} else {
    console.error('usage: qfs_peer.js compress|decompress IN OUT [IN OUT]... | ' +
                  'time-decompress IN ROUNDS | time-compress ROUNDS IN...');
    process.exit(2);
}
