// Validates glTF files with the Khronos validator (npm gltf-validator, installed into
// tests/peers): prints each file's error and warning counts and its errors; exit status 1 when
// any file has an error. Usage: node gltf_validate.js PEERS_FOLDER FILE...
const fs = require('fs');
const path = require('path');

const validator = require(path.join(process.argv[2], 'node_modules', 'gltf-validator'));

(async () => {
    let failed = false;
    for (const file of process.argv.slice(3)) {
        const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
            uri: path.basename(file),
            maxIssues: 0,
        });
        const issues = report.issues;
        console.log(`${path.basename(file)}: ${issues.numErrors} errors, ` +
                    `${issues.numWarnings} warnings`);
        for (const message of issues.messages.filter((m) => m.severity <= 1)) {
            console.log(`  ${message.code} ${message.pointer || ''}: ${message.message}`);
        }
        failed = failed || issues.numErrors > 0;
    }
    process.exit(failed ? 1 : 0);
})().catch((error) => {
    console.error(String(error));
    process.exit(2);
});
