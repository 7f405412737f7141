#!/usr/bin/python3
"""validate_json.py SCHEMA DOCUMENT: validates a JSON document against a JSON
Schema (draft 2020-12) with Debian's python3-jsonschema. A reference to another
schema is looked up among the *.schema.json files beside SCHEMA, by their $id.
Prints each error and exits 1 when there are any, 2 when a schema itself is not
valid."""
import glob
import json
import os
import sys

from jsonschema import Draft202012Validator, RefResolver
from jsonschema.exceptions import SchemaError


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        document = json.load(f)
    store = {}
    for path in glob.glob(os.path.join(os.path.dirname(os.path.abspath(sys.argv[1])), "*.schema.json")):
        with open(path, encoding="utf-8") as f:
            other = json.load(f)
        store[other.get("$id", path)] = other
    try:
        for each in [schema] + list(store.values()):
            Draft202012Validator.check_schema(each)
    except SchemaError as e:
        print("schema:", e.message)
        return 2
    validator = Draft202012Validator(schema, resolver=RefResolver.from_schema(schema, store=store))
    errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
    for e in errors:
        print("/".join(str(p) for p in e.absolute_path) + ":", e.message)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
