// docxtemplater with the free image module fills the benchmark template:
//   node fill_docxtemplater.js TEMPLATE VALUES OUTPUT   (NODE_PATH names the modules' folder)
"use strict";
const fs = require("fs");
const path = require("path");
const PizZip = require("pizzip");
const Docxtemplater = require("docxtemplater");
const ImageModule = require("docxtemplater-image-module-free");

const [template, valuesPath, output] = process.argv.slice(2);
const values = JSON.parse(fs.readFileSync(valuesPath, "utf8"));
const folder = path.dirname(valuesPath);
const imageModule = new ImageModule({
  centered: false,
  fileType: "docx",
  getImage: (file) => fs.readFileSync(path.join(folder, file)),
  getSize: () => values.picture_px,
});
const doc = new Docxtemplater(new PizZip(fs.readFileSync(template)), { modules: [imageModule] });
doc.render({ ...values.values, ...values.pictures });
fs.writeFileSync(output, doc.getZip().generate({ type: "nodebuffer", compression: "DEFLATE" }));
